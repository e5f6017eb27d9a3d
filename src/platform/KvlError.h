#pragma once

#include <QString>
#include <stdexcept>

// An error raised inside a procedure and caught by the trap of the public function above it,
// which logs it under its own label. `number` plays the role of the error number in the log.
class KvlError : public std::runtime_error
{
public:
    KvlError(long number, const QString& description) : std::runtime_error(description.toStdString()), m_number(number)
    {
    }
    explicit KvlError(const QString& description) : KvlError(kGeneric, description) {}

    long Number() const { return m_number; }
    // A dialog the user cancelled caused the error.
    static bool IsCancel(const std::exception& error)
    {
        const auto* raised = dynamic_cast<const KvlError*>(&error);
        return raised && raised->m_number == kCancelled;
    }
    QString Description() const { return QString::fromStdString(what()); }

    static constexpr long kGeneric = 5;  // "Invalid procedure call or argument"
    // A dialog the user cancelled: the command ends with no message.
    static constexpr long kCancelled = 32755;

private:
    long m_number;
};
