#pragma once

#include <QList>
#include <QString>

// The pictures a page refers to (the src of its IMG elements) and the rewriting of those
// references in place, leaving the rest of the page as written.
class PictureReferences
{
public:
    struct Reference
    {
        QString source;  // the src value, entities decoded
        qsizetype valueStart = -1;
        qsizetype valueLength = 0;
    };

    explicit PictureReferences(const QString& html);
    const QList<Reference>& References() const { return m_references; }

    // Points one reference at another path; applied by Rewritten().
    void Replace(const Reference& reference, const QString& newSource);
    bool HasReplacements() const { return !m_replacements.isEmpty(); }
    QString Rewritten() const;

    // The file name of a reference: the part after its last folder separator.
    static QString FileName(const QString& source);
    // The local file a reference names (a path or a file: URL).
    static QString LocalFile(const QString& source);
    // The reference to a local file: a file URL, which a browser reads as that file whatever the
    // path holds, where a bare path holding "#", "?" or "%" would name another file.
    static QString ReferenceTo(const QString& localFile);
    // The picture number of a file name such as "12.gif"; false when it has no "." or its base
    // is not a number.
    static bool PictureNumber(const QString& fileName, int& number);

private:
    QString m_html;
    QList<Reference> m_references;
    QList<QPair<Reference, QString>> m_replacements;
};
