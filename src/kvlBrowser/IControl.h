#pragma once

#include <QString>
#include <QtPlugin>

// The print and preview control as the program's windows drive it: one HTML page shown, printed
// or previewed through the print template, which takes the page fields and the header and footer
// set here. Lengths are hundredths of an inch. The members stand in the order of their dispatch
// identifiers. Methods answer kDone, or kNotAvailable when the browser could not run the command
// and its fallback ran instead.
class IControl
{
public:
    enum class DispId : int {
        Open = 1,
        Stop = 2,
        PageSetUp = 3,
        PrintHTML = 4,
        Preview = 5,
        Refresh = 6,
        Visible = 7,
        FullScreen = 8,
        FooterHeight = 9,
        HeaderHeight = 10,
        MarginLeft = 11,
        MarginRight = 12,
        MarginTop = 13,
        MarginBottom = 14,
        PageWidth = 15,
        PageHeight = 16,
        Orientation = 17,
        HTMLHeader = 18,
        HTMLFooter = 19,
    };

    static constexpr int kDone = 0;
    static constexpr int kNotAvailable = 1;

    // Work codes of Open.
    static constexpr int kWorkShow = 0;
    static constexpr int kWorkPrint = 1;
    static constexpr int kWorkPreview = 2;

    virtual ~IControl() = default;

    // Shows the page; kWorkPrint or kWorkPreview prints or previews it each time a page has loaded,
    // until the next Open.
    virtual int Open(const QString& sURL, int iWork) = 0;
    virtual int Stop() = 0;
    // The browser's own page set-up; the fields below are not touched.
    virtual int PageSetUp() = 0;
    virtual int PrintHTML() = 0;
    virtual int Preview() = 0;
    virtual int Refresh() = 0;
    virtual bool Visible() const = 0;
    virtual void SetVisible(bool value) = 0;
    virtual bool FullScreen() const = 0;
    virtual void SetFullScreen(bool value) = 0;
    virtual qint32 FooterHeight() const = 0;
    virtual void SetFooterHeight(qint32 value) = 0;
    virtual qint32 HeaderHeight() const = 0;
    virtual void SetHeaderHeight(qint32 value) = 0;
    virtual qint32 MarginLeft() const = 0;
    virtual void SetMarginLeft(qint32 value) = 0;
    virtual qint32 MarginRight() const = 0;
    virtual void SetMarginRight(qint32 value) = 0;
    // Distance of the header from the top edge of the paper.
    virtual qint32 MarginTop() const = 0;
    virtual void SetMarginTop(qint32 value) = 0;
    // Distance of the footer from the bottom edge of the paper.
    virtual qint32 MarginBottom() const = 0;
    virtual void SetMarginBottom(qint32 value) = 0;
    virtual qint32 PageWidth() const = 0;
    virtual void SetPageWidth(qint32 value) = 0;
    virtual qint32 PageHeight() const = 0;
    virtual void SetPageHeight(qint32 value) = 0;
    // "portrait" or "landscape", handed to the template as set.
    virtual QString Orientation() const = 0;
    virtual void SetOrientation(const QString& value) = 0;
    // A JSON string holding the HTML of every page's header (footer), as
    // Publication::FormatHeaderFooter writes it.
    virtual QString HTMLHeader() const = 0;
    virtual void SetHTMLHeader(const QString& value) = 0;
    virtual QString HTMLFooter() const = 0;
    virtual void SetHTMLFooter(const QString& value) = 0;
};

#define IControl_iid "org.koravel.kvlBrowser.IControl/1.0"
Q_DECLARE_INTERFACE(IControl, IControl_iid)
