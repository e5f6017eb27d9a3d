#include "core/services/ExplorerNode.h"

#include "core/services/ExplorerNodes.h"

#include <algorithm>

void ExplorerNode::SetText(const QString& text)
{
    if (m_text == text)
        return;
    m_text = text;
    emit m_owner->NodeChanged(this);
}

void ExplorerNode::SetTag(const QString& tag)
{
    if (m_tag == tag)
        return;
    const QString old = m_tag;
    m_tag = tag;
    if (!m_removed)
        m_owner->Retag(this, old);
}

void ExplorerNode::SetImage(int image)
{
    if (m_image == image)
        return;
    m_image = image;
    emit m_owner->NodeChanged(this);
}

const std::vector<ExplorerNode*>& ExplorerNode::Siblings() const
{
    return m_parent ? m_parent->m_children : m_owner->m_top;
}

ExplorerNode* ExplorerNode::FirstSibling() const
{
    // A node a batch still holds back is not among its siblings yet.
    return Siblings().empty() ? const_cast<ExplorerNode*>(this) : Siblings().front();
}

ExplorerNode* ExplorerNode::LastSibling() const
{
    return Siblings().empty() ? const_cast<ExplorerNode*>(this) : Siblings().back();
}

ExplorerNode* ExplorerNode::Next() const
{
    const auto& siblings = Siblings();
    const size_t row = static_cast<size_t>(m_row);
    return (row + 1 < siblings.size() && siblings[row] == this) ? siblings[row + 1] : nullptr;
}

ExplorerNode* ExplorerNode::Previous() const
{
    const auto& siblings = Siblings();
    const size_t row = static_cast<size_t>(m_row);
    return (row > 0 && row < siblings.size() && siblings[row] == this) ? siblings[row - 1] : nullptr;
}

int ExplorerNode::Index() const
{
    return m_owner->IndexOf(this);
}

QString ExplorerNode::FullPath() const
{
    QString path = m_text;
    for (const ExplorerNode* node = m_parent; node; node = node->m_parent)
        path = node->m_text + m_owner->PathSeparator() + path;
    return path;
}
