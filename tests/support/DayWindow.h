#pragma once

#include <QDate>
#include <QString>
#include <functional>

// The day a test's actions ran on: taken when the window is made, before the actions, and again
// when a value is checked, so a run that crosses midnight accepts either day.
class DayWindow
{
public:
    DayWindow() : m_first(QDate::currentDate()) {}

    bool Contains(const QDate& day) const { return day == m_first || day == QDate::currentDate(); }
    // `day` when it lies in the window, else the first day: what a comparison expects.
    QDate Expected(const QDate& day) const { return Contains(day) ? day : m_first; }
    // The same for a day written as text by `format`.
    QString Expected(const QString& text, const std::function<QString(const QDate&)>& format) const
    {
        return text == format(m_first) || text == format(QDate::currentDate()) ? text : format(m_first);
    }
    // Both days as `format` writes them, for a search in a longer text.
    QStringList Texts(const std::function<QString(const QDate&)>& format) const
    {
        return {format(m_first), format(QDate::currentDate())};
    }

    // Checks of one day's rows cannot hold when the day changed during the actions.
    bool Changed() const { return QDate::currentDate() != m_first; }
    QDate First() const { return m_first; }

private:
    QDate m_first;
};

// Compares a day (or a text made from one by `format`) with the days of `window`.
#define KORAVEL_COMPARE_DAY(window, actual) QCOMPARE((actual), (window).Expected(actual))
#define KORAVEL_COMPARE_DAY_TEXT(window, actual, format) QCOMPARE((actual), (window).Expected((actual), (format)))
