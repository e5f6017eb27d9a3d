#pragma once

#include <QHash>
#include <QString>
#include <QVariant>

#include <memory>

class Configuration;
class Procedure;
namespace FieldPlaceholders {
struct FieldValue;
}
class SubTest;
class TestPlan;

// Publishes test plans as HTML pages: the one-file document of a plan, the pages of one
// sub-test, procedure or configuration, and the framed site. Also holds the pictures of the
// descriptions kept in the database (table IMAGEFILE), written out as files of the images folder
// when a description is opened or published.
//
// One object serves one generation: the caller sets FileName and IdConfiguration (and Word),
// calls one of the Edit methods or GenerateDocuments, and drops it. Each page is built in memory
// and written once; a failed generation leaves the file as it was.
class Publication
{
public:
    Publication();
    ~Publication();

    QString FileName() const { return m_fileName; }
    void SetFileName(const QString& fileName) { m_fileName = fileName; }
    QString IdTestPlan() const { return m_idTestPlan; }
    void SetIdTestPlan(const QString& id) { m_idTestPlan = id; }
    QString IdConfiguration() const { return m_idConfiguration; }
    void SetIdConfiguration(const QString& id) { m_idConfiguration = id; }
    bool Word() const { return m_word; }
    void SetWord(bool word) { m_word = word; }
    // Set once a written document held the table-of-contents placeholder; never cleared.
    bool TableOfContents() const { return m_tableOfContents; }

    // The whole plan as one document in FileName: 0 done, 1 failed (logged, file unchanged).
    long EditTestPlan(TestPlan& objTestPlan, bool blnWithSubTest = false);
    // The page of one sub-test with everything below it; the sub-test is left at Level 1 and an
    // empty TitleOrder.
    long EditSubTest(SubTest& objSubTest);
    // The procedure sheet of one procedure occurrence (its Key set).
    long EditProcedureSheet(Procedure& objProcedure);
    // A configuration's title and description.
    long EditConfiguration(Configuration& objConfiguration);
    // The framed site in the folder of FileName (which holds the frame set): the main page, the
    // navigation page and a page per sub-test and procedure occurrence. FileName is left at the
    // last page written.
    long GenerateDocuments(TestPlan& objTestPlan);

    // The print header (bHeader) or footer made of a header or footer template, as the print and
    // preview control takes it: a JSON string holding one table of class THeader or TFooter with a
    // left, a centre and a right cell. The codes of the template's text outside tags are read first:
    // &b moves on to the next cell (without one, all goes into the right cell, which then takes the
    // whole width), &w, &u, &p and &P give the spans the print template fills with the title, the
    // address, the page number and the page count, &d and &D today's short and long date, &t and &T
    // the time in the locale's short form and as HH:mm, && an ampersand. Then the page placeholders
    // and the fields of the test plan IdTestPlan and the configuration IdConfiguration are filled in
    // (an item not found leaves its placeholders); line breaks become blanks. "" after a failure,
    // which is logged.
    QString FormatHeaderFooter(const QString& sHeaderFooter, bool bHeader) const;

    // Writes each stored picture the page refers to into the images folder and points the
    // reference at that file. The page is left unchanged after a failure, which is logged.
    QVariant DownLoadPicture(QString& strHTML);

    // Stores the local picture files the page refers to as pictures of the document
    // (strIdItem, intIcon) and points the references at their numbered copies: 0 done, 1 failed
    // (nothing changed in the database or the page). Only PNG, JPEG, GIF and BMP files of up to
    // 20 MB in the images or temporary folder are stored; any other file stays as written and
    // is logged.
    long SavePicture(QString& strHTML, const QString& strIdItem, int intIcon);

private:
    struct Generation;
    // Keeps one generation's reads (templates, items, descriptions, results, pictures) for the
    // pages of one public call, GenerateDocuments' pages included.
    class GenerationScope;

    // The sections of a sub-test and everything below it, appended to the page being built.
    // These raise KvlError (after logging under their own label) on failure.
    long WriteSubTests(SubTest& objSubTest);
    long WriteSubTestTitle(SubTest& objSubTest);
    long WriteProcedures(Procedure& objProcedure);
    // The fields of the sub-test named in an occurrence key's last segment.
    void AppendParentSubTestFields(QList<FieldPlaceholders::FieldValue>& fields, const QString& key);
    // The fields of the plan being published and of its configuration, when that exists.
    void AppendPlanFields(QList<FieldPlaceholders::FieldValue>& fields);
    // A procedure occurrence's section of the template: its own fields and result, the plan's
    // when one is being published, then its sub-test's, filled in one pass.
    QString ProcedureSection(int templateId, const Procedure& procedure);
    // Numbers the headings of the page being built and fills its table-of-contents placeholders.
    long NumerateHeaders();
    // The pages and navigation links below one sub-test of a site, `depth` levels below the plan.
    long WriteExplorerChildren(SubTest& objSubTest, int depth = 1);
    // One navigation line: `units` indentation units, then the link.
    void WriteExplorerLink(int units, const QString& page, const QString& name);

    // The plan's own node key under IdConfiguration.
    QString PlanKey(const TestPlan& plan) const;
    // Drops a page break ending the page being built.
    void DropTrailingPageBreak();
    // Writes the page being built to FileName: the one-file document atomically, the others plainly.
    void WritePageFile(bool replace);
    // Appends a filled section, its pictures written out.
    void WriteSection(QString& text);

    QString m_fileName;
    QString m_idTestPlan;
    QString m_idConfiguration;
    bool m_word = false;
    bool m_tableOfContents = false;
    QString m_tableOfContentsText;
    std::unique_ptr<Generation> m_generation;
};
