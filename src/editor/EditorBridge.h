#pragma once

#include <QObject>
#include <QVariantMap>

// The one object the editor's page script sees over the web channel: it only reports the
// command states, so the page can ask the program for nothing.
class EditorBridge : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

public slots:
    // `state` holds the statuses and values of the commands; `typed` tells that the document
    // changed since the last report.
    void Report(const QVariantMap& state, bool typed) { emit Reported(state, typed); }

signals:
    void Reported(const QVariantMap& state, bool typed);
};
