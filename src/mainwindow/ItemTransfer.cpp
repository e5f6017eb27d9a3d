#include "mainwindow/ItemTransfer.h"

#include "core/KeyHelpers.h"
#include "core/NodeKey.h"
#include "platform/KvlError.h"

namespace ItemTransfer {

namespace {

constexpr long kTypeMismatch = 13;
constexpr long kInvalidArgument = 5;

}  // namespace

QString Write(int kind, const QString& tag, const QString& key)
{
    return QString::number(kind) + NodeKey::kSeparator + tag + NodeKey::kSeparator + key;
}

QString WriteNew(int kind)
{
    return QString::number(kind) + NodeKey::kSeparator + kNewItem + NodeKey::kSeparator;
}

bool Read(const QString& text, Fields& fields)
{
    const qsizetype first = text.indexOf(NodeKey::kSeparator);
    if (first < 0)
        return false;
    const qsizetype second = text.indexOf(NodeKey::kSeparator, first + 1);
    if (second < 0)
        throw KvlError(kInvalidArgument, QStringLiteral("Invalid procedure call or argument"));
    fields.kind = text.left(first);
    fields.tag = text.mid(first + 1, second - first - 1);
    return true;
}

int Fields::DragKind() const
{
    const QString digits = kind.trimmed();
    qsizetype end = 0;
    while (end < digits.size() && end < 9 && digits[end].isDigit() && digits[end].unicode() < 128)
        ++end;
    return end == 0 ? 0 : digits.left(end).toInt();
}

int Fields::PasteKind() const
{
    bool ok = false;
    const int value = kind.trimmed().toInt(&ok);
    if (!ok)
        throw KvlError(kTypeMismatch, QStringLiteral("Type mismatch"));
    return value;
}

bool IsItemText(const QString& text)
{
    try {
        Fields fields;
        if (!Read(text, fields))
            return false;
        const int kind = fields.PasteKind();
        return kind >= kImageRoot && kind <= kImageProcedure;
    } catch (const KvlError&) {
        return false;
    }
}

bool Refused(int kind, int target)
{
    if (kind == kImageConfiguration)
        return target >= kImageConfiguration;
    if (kind == kImageTestPlan)
        return target != kImageConfiguration;
    if (kind >= kImageSubTestFirst && kind <= kImageSubTestLast)
        return target != kind - 1;
    if (kind == kImageProcedure)
        return target <= kImageTestPlan || target == kImageProcedure;
    return false;
}

}  // namespace ItemTransfer
