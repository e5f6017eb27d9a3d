#pragma once

#include "model/PlanResults.h"
#include "model/SubTreeRows.h"
#include "publishing/StoredColumns.h"

#include "platform/BugLog.h"

#include <QBuffer>
#include <QByteArray>
#include <QString>
#include <QXmlStreamWriter>
#include <charconv>
#include <stdexcept>

class Configuration;
class Procedure;
class QIODevice;
class SubTest;
class TestPlan;

// Writes one test plan, as reached through its IdConfiguration, onto a device in the exchange
// format: elements with text only, no declaration, attribute or whitespace. The subtree, its
// descriptions and the results are each read once for the whole plan; nothing is written to the
// database.
class XmlPlanWriter
{
public:
    // A private writer's failure, already logged under that writer's label.
    class Failed : public std::runtime_error
    {
    public:
        Failed() : std::runtime_error("The exchange file could not be written.") {}
    };

    XmlPlanWriter(QIODevice& device, TestPlan& plan);

    // Writes the whole document. Raises KvlError for a failure of the export's own steps and
    // Failed for one of a private writer; the device then holds a partial document.
    void Write();
    // True when the device refused some of the bytes.
    bool DeviceFailed() const { return m_deviceFailed || m_xml.hasError(); }
    // How many characters XML 1.0 cannot carry were written as U+FFFD.
    qint64 Replaced() const { return m_replaced; }

private:
    void WriteConfiguration(const Configuration& configuration);
    void WriteTestPlanDescription();
    void WriteTestPlanHistory();
    // Reads the links, descriptions and results below the plan's first-level sub-tests.
    void ReadSubTree(const QStringList& subTestIds);
    void WriteSubTests(SubTest& subTest);
    void WriteProcedures(Procedure& procedure);
    // The description family: the wrapped column of one item, under its own label.
    void WriteDescription(const QString& label, StoredColumns& column, const QString& id, const QString& element);

    // Runs a private writer's body: a failure is logged once, under the innermost writer's label.
    template <typename Body>
    static void Trap(const QString& label, Body&& body)
    {
        try {
            body();
        } catch (const Failed&) {
            throw;
        } catch (const std::exception& error) {
            LogError(label, error);
            throw Failed();
        }
    }
    // The shortest text that reads back as the same value, with a "." whatever the locale.
    template <typename Number>
    static QString NumberText(Number value)
    {
        char text[64];
        const std::to_chars_result end = std::to_chars(text, text + sizeof text, value);
        return QString::fromLatin1(text, end.ptr - text);
    }

    // Hands the document written so far to the device once it fills a chunk, or at the `end`.
    void Flush(bool end = false);
    void TextElement(const QString& name, const QString& text);
    // The text as character data that reads back unchanged: carriage returns as references (a
    // parser would fold them into line feeds), what XML cannot carry as U+FFFD.
    void Characters(const QString& text);

    // The document goes to the device in chunks: a save file writes each call straight through.
    QIODevice& m_device;
    QByteArray m_chunk;
    QBuffer m_buffer;
    bool m_deviceFailed = false;
    QXmlStreamWriter m_xml;
    TestPlan& m_plan;
    QString m_configurationId;
    SubTreeRows m_rows;
    PlanResults m_results;
    DescriptionColumns m_columns;
    qint64 m_replaced = 0;
};
