#pragma once

#include "kvlBrowser/IControl.h"

#include <QList>
#include <QPair>
#include <QVariant>
#include <QWidget>

// A print and preview control that records what its host does with it, in order: each method
// called and each property set, with its value. Property reads give back what was set.
class FakeControl : public QWidget, public IControl
{
    Q_OBJECT
    Q_INTERFACES(IControl)

public:
    using Call = QPair<DispId, QVariant>;

    explicit FakeControl(QWidget* parent = nullptr);

    QList<Call> calls;
    // What the methods answer.
    int answer = kDone;

    int Open(const QString& sURL, int iWork) override;
    int Stop() override { return Record(DispId::Stop, {}); }
    int PageSetUp() override { return Record(DispId::PageSetUp, {}); }
    int PrintHTML() override { return Record(DispId::PrintHTML, {}); }
    int Preview() override { return Record(DispId::Preview, {}); }
    int Refresh() override { return Record(DispId::Refresh, {}); }
    bool Visible() const override { return m_visible; }
    void SetVisible(bool value) override { Set(DispId::Visible, m_visible, value); }
    bool FullScreen() const override { return m_fullScreen; }
    void SetFullScreen(bool value) override { Set(DispId::FullScreen, m_fullScreen, value); }
    qint32 FooterHeight() const override { return m_footerHeight; }
    void SetFooterHeight(qint32 value) override { Set(DispId::FooterHeight, m_footerHeight, value); }
    qint32 HeaderHeight() const override { return m_headerHeight; }
    void SetHeaderHeight(qint32 value) override { Set(DispId::HeaderHeight, m_headerHeight, value); }
    qint32 MarginLeft() const override { return m_marginLeft; }
    void SetMarginLeft(qint32 value) override { Set(DispId::MarginLeft, m_marginLeft, value); }
    qint32 MarginRight() const override { return m_marginRight; }
    void SetMarginRight(qint32 value) override { Set(DispId::MarginRight, m_marginRight, value); }
    qint32 MarginTop() const override { return m_marginTop; }
    void SetMarginTop(qint32 value) override { Set(DispId::MarginTop, m_marginTop, value); }
    qint32 MarginBottom() const override { return m_marginBottom; }
    void SetMarginBottom(qint32 value) override { Set(DispId::MarginBottom, m_marginBottom, value); }
    qint32 PageWidth() const override { return m_pageWidth; }
    void SetPageWidth(qint32 value) override { Set(DispId::PageWidth, m_pageWidth, value); }
    qint32 PageHeight() const override { return m_pageHeight; }
    void SetPageHeight(qint32 value) override { Set(DispId::PageHeight, m_pageHeight, value); }
    QString Orientation() const override { return m_orientation; }
    void SetOrientation(const QString& value) override { Set(DispId::Orientation, m_orientation, value); }
    QString HTMLHeader() const override { return m_htmlHeader; }
    void SetHTMLHeader(const QString& value) override { Set(DispId::HTMLHeader, m_htmlHeader, value); }
    QString HTMLFooter() const override { return m_htmlFooter; }
    void SetHTMLFooter(const QString& value) override { Set(DispId::HTMLFooter, m_htmlFooter, value); }

private:
    int Record(DispId member, const QVariant& value);
    template <typename T>
    void Set(DispId member, T& field, const T& value)
    {
        field = value;
        calls.append({member, QVariant::fromValue(value)});
    }

    bool m_visible = true;
    bool m_fullScreen = false;
    qint32 m_footerHeight = 0;
    qint32 m_headerHeight = 0;
    qint32 m_marginLeft = 0;
    qint32 m_marginRight = 0;
    qint32 m_marginTop = 0;
    qint32 m_marginBottom = 0;
    qint32 m_pageWidth = 0;
    qint32 m_pageHeight = 0;
    QString m_orientation;
    QString m_htmlHeader;
    QString m_htmlFooter;
};
