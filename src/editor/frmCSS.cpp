#include "editor/frmCSS.h"

#include "core/DecmdCommands.h"
#include "core/HtmlEditor.h"
#include "core/HtmlPages.h"
#include "core/ui/DialogButtons.h"
#include "editor/EditorPane.h"
#include "editor/StyleSheetFont.h"
#include "platform/BugLog.h"
#include "platform/KvlError.h"
#include "platform/Prompts.h"
#include "publishing/HTMLTemplate.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

constexpr int kStyleSheet = 17;
const QString kForbidden = QStringLiteral("Forbidden characters are detected.");

QPushButton* NewButton(const QString& name, const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QString Preview(const QString& tag, const QString& declarations)
{
    const QString style =
        QStringLiteral("<HTML><STYLE>") + tag + QLatin1Char('{') + declarations + QStringLiteral("}</STYLE><BODY>");
    if (tag == QLatin1String("BODY"))
        return style + QStringLiteral("Style example</BODY></HTML>");
    return style + QLatin1Char('<') + tag + QStringLiteral(">Style example</") + tag +
           QStringLiteral("></BODY></HTML>");
}

}  // namespace

frmCSS::frmCSS(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmCSS"));
    setWindowTitle(QStringLiteral("Cascading Style Sheet"));
    cmApply = NewButton(QStringLiteral("cmApply"), QStringLiteral("&Apply"), this);
    cmdOK = NewButton(QStringLiteral("cmdOK"), QStringLiteral("&OK"), this);
    cmdCancel = NewButton(QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"), this);
    auto* page = new QWidget(this);
    auto* columns = new QHBoxLayout(page);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->addWidget(BuildTagFrame());
    columns->addWidget(BuildStyleFrame(), 1);
    LayOutDialog(this, page, {cmApply, cmdOK, cmdCancel});

    connect(lstStyles, &QListWidget::itemSelectionChanged, this, &frmCSS::lstStyles_Click);
    connect(cboAlignment, &QComboBox::currentIndexChanged, this, &frmCSS::cboAlignment_Click);
    for (int index = 0; index < int(optPageBreak.size()); ++index) {
        connect(optPageBreak[index], &QRadioButton::toggled, this, [this, index](bool on) {
            if (on)
                optPageBreak_Click(index);
        });
    }
    connect(cmdFont, &QPushButton::clicked, this, &frmCSS::cmdFont_Click);
    connect(cmdAdd, &QPushButton::clicked, this, &frmCSS::cmdAdd_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmCSS::cmdDelete_Click);
    connect(cmdClear, &QPushButton::clicked, this, &frmCSS::cmdClear_Click);
    connect(cmApply, &QPushButton::clicked, this, &frmCSS::cmApply_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmCSS::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmCSS::cmdCancel_Click);
    resize(620, 440);
}

QWidget* frmCSS::BuildTagFrame()
{
    fraTag = new QGroupBox(QStringLiteral("Tags"), this);
    fraTag->setObjectName(QStringLiteral("fraTag"));
    lstStyles = new QListWidget(fraTag);
    lstStyles->setObjectName(QStringLiteral("lstStyles"));
    lstStyles->setSelectionMode(QAbstractItemView::SingleSelection);
    cmdAdd = NewButton(QStringLiteral("cmdAdd"), QStringLiteral("&Add"), fraTag);
    cmdDelete = NewButton(QStringLiteral("cmdDelete"), QStringLiteral("Delete"), fraTag);
    cmdClear = NewButton(QStringLiteral("cmdClear"), QStringLiteral("Clear"), fraTag);
    auto* layout = new QVBoxLayout(fraTag);
    layout->addWidget(lstStyles, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdAdd);
    buttons->addWidget(cmdDelete);
    buttons->addWidget(cmdClear);
    layout->addLayout(buttons);
    return fraTag;
}

QWidget* frmCSS::BuildStyleFrame()
{
    fraStyle = new QGroupBox(QStringLiteral("Style"), this);
    fraStyle->setObjectName(QStringLiteral("fraStyle"));
    txtStyles = new QPlainTextEdit(fraStyle);
    txtStyles->setObjectName(QStringLiteral("txtStyles"));
    // Rules change only through the controls beside it.
    txtStyles->setReadOnly(true);
    lblAlignment = new QLabel(QStringLiteral("Alignment:"), fraStyle);
    lblAlignment->setObjectName(QStringLiteral("lblAlignment"));
    cboAlignment = new QComboBox(fraStyle);
    cboAlignment->setObjectName(QStringLiteral("cboAlignment"));
    cboAlignment->addItems(
        {QStringLiteral("Left"), QStringLiteral("Right"), QStringLiteral("Center"), QStringLiteral("Justify")});
    Label1 = new QLabel(QStringLiteral("Font:"), fraStyle);
    Label1->setObjectName(QStringLiteral("Label1"));
    cmdFont = NewButton(QStringLiteral("cmdFont"), QString(), fraStyle);
    cmdFont->setIcon(QIcon(QStringLiteral(":/icons/menu/FONT.png")));
    cmdFont->setToolTip(QStringLiteral("Font of the selected tag"));
    fraPageBreak = new QGroupBox(QStringLiteral("Page Break"), fraStyle);
    fraPageBreak->setObjectName(QStringLiteral("fraPageBreak"));
    auto* breaks = new QHBoxLayout(fraPageBreak);
    const QStringList captions = {QStringLiteral("None"), QStringLiteral("Before"), QStringLiteral("After")};
    for (int index = 0; index < int(optPageBreak.size()); ++index) {
        optPageBreak[index] = new QRadioButton(captions[index], fraPageBreak);
        optPageBreak[index]->setObjectName(QStringLiteral("optPageBreak_%1").arg(index));
        breaks->addWidget(optPageBreak[index]);
    }
    optPageBreak[0]->setChecked(true);
    const EditorPane pane = CreateEditorPane(fraStyle);
    DHTMLEdit1 = pane.editor;
    DHTMLEdit1View = pane.view;
    DHTMLEdit1View->setObjectName(QStringLiteral("DHTMLEdit1"));
    DHTMLEdit1View->setMinimumHeight(90);

    auto* grid = new QGridLayout(fraStyle);
    grid->addWidget(txtStyles, 0, 0, 1, 3);
    grid->addWidget(lblAlignment, 1, 0);
    grid->addWidget(cboAlignment, 1, 1);
    grid->addWidget(Label1, 2, 0);
    grid->addWidget(cmdFont, 2, 1, Qt::AlignLeft);
    grid->addWidget(fraPageBreak, 3, 0, 1, 3);
    grid->addWidget(DHTMLEdit1View, 4, 0, 1, 3);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(0, 1);
    grid->setRowStretch(4, 1);
    return fraStyle;
}

bool frmCSS::Form_Load()
{
    bool ok = false;
    const StyleSheet sheet = StyleSheet::Parse(HTMLTemplate().Load(kStyleSheet, &ok));
    if (!ok) {
        prompts().Critical(QStringLiteral("An error has occurred reading the style sheet."));
        return false;
    }
    QSignalBlocker blocker(lstStyles);
    lstStyles->clear();
    m_rules = sheet.rules;
    m_unplaced = sheet.unplaced;
    for (int index = 0; index < m_rules.size(); ++index) {
        auto* item = new QListWidgetItem(m_rules[index].selector, lstStyles);
        item->setData(Qt::UserRole, index);
    }
    if (lstStyles->count() > 1)
        lstStyles->setCurrentRow(0);
    blocker.unblock();
    lstStyles_Click();
    return true;
}

int frmCSS::exec()
{
    if (!Form_Load()) {
        done(Rejected);
        return Rejected;
    }
    return QDialog::exec();
}

void frmCSS::done(int result)
{
    QDialog::done(result);
    RefreshStyle();
}

StyleRule* frmCSS::SelectedRule()
{
    const QList<QListWidgetItem*> selected = lstStyles->selectedItems();
    if (selected.isEmpty())
        return nullptr;
    const int index = selected.first()->data(Qt::UserRole).toInt();
    return index >= 0 && index < m_rules.size() ? &m_rules[index] : nullptr;
}

int frmCSS::PageBreak() const
{
    for (int index = 0; index < int(optPageBreak.size()); ++index) {
        if (optPageBreak[index]->isChecked())
            return index;
    }
    return 0;
}

void frmCSS::lstStyles_Click()
{
    const StyleRule* rule = SelectedRule();
    if (!rule)
        return;
    m_loading = true;
    txtStyles->setPlainText(rule->declarations);
    cboAlignment->setCurrentIndex(0);
    const QString alignment = StyleSheet::Value(rule->declarations, QStringLiteral("text-align"));
    for (int index = 1; index < cboAlignment->count(); ++index) {
        if (cboAlignment->itemText(index) == alignment) {
            cboAlignment->setCurrentIndex(index);
            break;
        }
    }
    const int pageBreak = rule->declarations.contains(QLatin1String("page-break-after:always"))    ? 2
                          : rule->declarations.contains(QLatin1String("page-break-before:always")) ? 1
                                                                                                   : 0;
    optPageBreak[pageBreak]->setChecked(true);
    m_loading = false;
    try {
        DHTMLEdit1->SetDocumentHTML(Preview(rule->selector, rule->declarations));
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_lstStyles_Click : "), error);
    }
}

void frmCSS::cboAlignment_Click()
{
    StyleRule* rule = m_loading ? nullptr : SelectedRule();
    if (!rule)
        return;
    rule->declarations = StyleSheet::WithAlignment(rule->declarations, cboAlignment->currentText());
    txtStyles->setPlainText(rule->declarations);
}

void frmCSS::optPageBreak_Click(int index)
{
    StyleRule* rule = m_loading ? nullptr : SelectedRule();
    if (!rule)
        return;
    rule->declarations = StyleSheet::WithPageBreak(rule->declarations, index);
    txtStyles->setPlainText(rule->declarations);
}

void frmCSS::cmdFont_Click()
{
    StyleRule* rule = SelectedRule();
    if (!rule) {
        prompts().Information(QStringLiteral("Select a tag in the list."));
        return;
    }
    try {
        DHTMLEdit1->SetDocumentHTML(FontPreview(DHTMLEdit1->DocumentHTML(), rule->declarations));
        DHTMLEdit1->ExecCommand(Decmd::SELECTALL, Decmd::OPT_DODEFAULT);
        DHTMLEdit1->ExecCommand(Decmd::FONT, Decmd::OPT_PROMPTUSER);
        rule->declarations = FontRule(*DHTMLEdit1, cboAlignment->currentText(), PageBreak());
        txtStyles->setPlainText(rule->declarations);
    } catch (const std::exception& error) {
        // A cancelled font dialog keeps the rule as it was.
        if (KvlError::IsCancel(error))
            return;
        prompts().Critical(QStringLiteral("An error occurred selecting the police."));
        LogError(QStringLiteral("Error_cmdFont_Click : "), error);
    }
}

void frmCSS::cmdAdd_Click()
{
    const std::optional<QString> answer =
        prompts().InputText(Prompts::ProgramTitle(), QStringLiteral("Add new style tag"), QString(), 0);
    const QString tag = answer ? answer->trimmed() : QString();
    if (tag.isEmpty())
        return;
    if (!StyleSheet::AllowedSelector(tag)) {
        prompts().Critical(kForbidden);
        return;
    }
    m_rules.append(StyleRule{QString(), tag, QString()});
    auto* item = new QListWidgetItem(tag, lstStyles);
    item->setData(Qt::UserRole, int(m_rules.size() - 1));
    lstStyles->setCurrentItem(item);
}

void frmCSS::cmdDelete_Click()
{
    const QList<QListWidgetItem*> selected = lstStyles->selectedItems();
    if (selected.isEmpty())
        return;
    const int row = lstStyles->row(selected.first());
    m_rules.removeAt(selected.first()->data(Qt::UserRole).toInt());
    {
        const QSignalBlocker blocker(lstStyles);
        delete lstStyles->takeItem(row);
        lstStyles->clearSelection();
        // Entries keep their rules in list order, so their item data is their new row.
        for (int index = 0; index < lstStyles->count(); ++index)
            lstStyles->item(index)->setData(Qt::UserRole, index);
    }
    if (row < lstStyles->count())
        lstStyles->setCurrentRow(row);
}

void frmCSS::cmdClear_Click()
{
    StyleRule* rule = SelectedRule();
    if (!rule)
        return;
    rule->declarations.clear();
    lstStyles_Click();
}

StyleSheet frmCSS::Sheet() const
{
    StyleSheet sheet;
    for (int row = 0; row < lstStyles->count(); ++row)
        sheet.rules.append(m_rules.value(lstStyles->item(row)->data(Qt::UserRole).toInt()));
    sheet.unplaced = m_unplaced;
    return sheet;
}

bool frmCSS::cmApply_Click()
{
    if (HTMLTemplate().Save(kStyleSheet, Sheet().Text()) != 0) {
        prompts().Critical(QStringLiteral("An error has occurred saving the style sheet."));
        return false;
    }
    RefreshStyle();
    return true;
}

void frmCSS::cmdOK_Click()
{
    if (cmApply_Click())
        accept();
}

void frmCSS::cmdCancel_Click()
{
    reject();
}
