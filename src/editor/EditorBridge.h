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

    // The document the page fetches next; `setBody` is the document whose BODY counts as
    // unchanged, null for this one.
    void SetDocument(const QString& html, const QString& setBody)
    {
        m_html = html;
        m_setBody = setBody;
    }

    // Handed over once, so the bridge keeps no copy of a long document.
    Q_INVOKABLE QVariantMap TakeDocument()
    {
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

signals:
    void Reported(const QVariantMap& state, bool typed);
    void Answered(int id, const QVariantMap& answer);

private:
    QString m_html;
    QString m_setBody;
};
