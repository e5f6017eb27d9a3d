#pragma once

#include <QString>
#include <exception>

// Open modes of the log file.
constexpr int kLogRewrite = 2;
constexpr int kLogAppend = 8;

// Writes one framed entry to BugLog.txt in the temp folder. Never raises: a log that cannot be
// written loses the entry and the caller goes on.
void WriteBugLog(const QString& message, int mode);

// "label" & number & CR LF & text: the message every trapped procedure logs.
QString ErrorMessage(const QString& label, long number, const QString& text);

// Appends the entry for an error caught under `label`.
void LogError(const QString& label, long number, const QString& text);
void LogError(const QString& label, const std::exception& error);
