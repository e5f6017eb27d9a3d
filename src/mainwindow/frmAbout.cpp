#include "mainwindow/frmAbout.h"

#include "core/ui/DialogButtons.h"
#include "platform/DesktopOpen.h"
#include "platform/Hourglass.h"
#include "platform/Prompts.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>
#include <QVBoxLayout>

#ifndef KORAVEL_VERSION
#error "KORAVEL_VERSION must be defined by the build (the project version)"
#endif

namespace {

// The system information tools of the usual desktops, in the order they are tried.
const char* const kSysInfoTools[] = {"hardinfo", "kinfocenter", "gnome-system-monitor"};

QLabel* NewLabel(const QString& name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// A contact label reads as a link and runs its handler on a click.
void MakeClickable(QLabel* label, QObject* filter)
{
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Link));
    label->setPalette(palette);
    label->setCursor(Qt::PointingHandCursor);
    label->installEventFilter(filter);
}

}  // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    lblTitle = NewLabel(QStringLiteral("lblTitle"), this);
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    lblTitle->setFont(titleFont);
    lblDescription = NewLabel(QStringLiteral("lblDescription"), this);
    lblDescription->setText(
        QStringLiteral("Koravel writes, organises, publishes and follows software test plans and their results."));
    lblDescription->setWordWrap(true);
    lblInfo = NewLabel(QStringLiteral("lblInfo"), this);
    lblInfo->setText(QStringLiteral("For any informations, or to report bugs contact : "));
    lblMail = NewLabel(QStringLiteral("lblMail"), this);
    lblMail->setText(MailAddress());
    MakeClickable(lblMail, this);
    lblWeb = NewLabel(QStringLiteral("lblWeb"), this);
    lblWeb->setText(WebAddress());
    MakeClickable(lblWeb, this);
    lblDisclaimer = NewLabel(QStringLiteral("lblDisclaimer"), this);
    lblDisclaimer->setWordWrap(true);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));

    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblTitle);
    layout->addWidget(lblDescription);
    layout->addSpacing(8);
    layout->addWidget(lblInfo);
    layout->addWidget(lblMail);
    layout->addWidget(lblWeb);
    layout->addWidget(rule);
    layout->addWidget(lblDisclaimer);
    layout->addLayout(ButtonRow({cmdOK, cmdSysInfo}));
    lblDisclaimer->setMinimumWidth(380);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
    Form_Load();
}

QString frmAbout::MailAddress()
{
    return QStringLiteral("support@example.com");
}

QString frmAbout::WebAddress()
{
    return QStringLiteral("https://www.example.com/");
}

void frmAbout::Form_Load()
{
    lblDisclaimer->setText(QStringLiteral(
        "Warning: this program is provided \"as is\", without warranty of any kind, express or implied, "
        "including fitness for a particular purpose. The authors are not liable for any damage or loss of "
        "data arising from its use."));
    lblTitle->setText(Prompts::ProgramTitle() + QStringLiteral(" version ") + QStringLiteral(KORAVEL_VERSION));
    setWindowTitle(QStringLiteral(" About ") + Prompts::ProgramTitle());
}

void frmAbout::cmdOK_Click()
{
    accept();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::StartSysInfo()
{
    bool started = false;
    try {
        for (const char* tool : kSysInfoTools) {
            const QString path = QStandardPaths::findExecutable(QString::fromLatin1(tool));
            if (path.isEmpty())
                continue;
            started = desktopOpen().StartDetached(path, {});
            break;
        }
    } catch (const std::exception&) {
        started = false;
    }
    if (!started)
        prompts().Message(QStringLiteral("System information is unavailable at this time"), Prompts::ProgramTitle(),
                          Prompts::Icon::None, Prompts::Buttons::Ok);
}

void frmAbout::lblMail_Click()
{
    Hourglass::Set();
    const bool opened = desktopOpen().Open(QUrl(QStringLiteral("mailto:") + MailAddress()));
    Hourglass::Reset();
    if (!opened)
        prompts().Message(QStringLiteral("Mail can not be sent."), QStringLiteral("Mail Failed"),
                          Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
}

void frmAbout::lblWeb_Click()
{
    Hourglass::Set();
    const bool opened = desktopOpen().Open(QUrl(WebAddress()));
    Hourglass::Reset();
    if (!opened)
        prompts().Message(QStringLiteral("Web page not opened"), QStringLiteral("URL Failed"),
                          Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == lblMail) {
            lblMail_Click();
            return true;
        }
        if (watched == lblWeb) {
            lblWeb_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
