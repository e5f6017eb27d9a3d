#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

// The one object the editor's page script sees over the web channel. Long texts travel this
// way in both directions: the channel carries them as JSON, several times faster than a
// script's source or its result.
class EditorBridge : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // The document the page fetches for question `id`; `setBody` is the document whose BODY
    // counts as unchanged, null for this one.
    void SetDocument(int id, const QString& html, const QString& setBody)
    {
        m_id = id;
        m_html = html;
        m_setBody = setBody;
    }

    // Handed over once, so the bridge keeps no copy of a long document. A question that a later
    // document overtook gets none.
    Q_INVOKABLE QVariantMap TakeDocument(int id)
    {
        if (id != m_id)
            return {{QStringLiteral("stale"), true}};
        m_id = 0;
        QVariantMap document{{QStringLiteral("html"), m_html},
                             {QStringLiteral("setBody"), m_setBody.isNull() ? QVariant() : QVariant(m_setBody)}};
        m_html.clear();
        m_setBody = QString();
        return document;
    }

public slots:
    // `state` holds the statuses and values of the commands; `typed` tells that the document
    // changed since the last report.
    void Report(const QVariantMap& state, bool typed) { emit Reported(state, typed); }
    // The answer to the program's question number `id`: {r: result} or {e: error}.
    void Answer(int id, const QVariantMap& answer) { emit Answered(id, answer); }
    // An undo or redo of the page's own that it could not make, the page left as it was.
    void Fail(const QString& message) { emit Failed(message); }

signals:
    void Reported(const QVariantMap& state, bool typed);
    void Answered(int id, const QVariantMap& answer);
    void Failed(const QString& message);

private:
    int m_id = 0;
    QString m_html;
    QString m_setBody;
};
