// libFuzzer entry point: any bytes as an exchange file. Besides the sanitizers' reports, a plan
// accepted with a value the reader promises to refuse, or a refusal without reason, is a crash.
#include "publishing/XmlPlanReader.h"

#include <QSet>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

void Expect(bool condition)
{
    if (!condition)
        __builtin_trap();
}

qsizetype Characters(const std::optional<QString>& text)
{
    return text ? text->toUcs4().size() : 0;
}

bool Finite(double value)
{
    return std::isfinite(value) && value >= 0;
}

void CheckSubTest(const XmlPlan::SubTest& subTest, int level)
{
    Expect(level <= XmlPlanReader::kMaxSubTestLevels);
    Expect(subTest.order > 0);
    Expect(level > 1 || subTest.title);
    Expect(Characters(subTest.name) <= XmlPlanReader::kMaxNameLength);
    Expect(Characters(subTest.title) <= XmlPlanReader::kMaxNameLength);
    for (const XmlPlan::SubTest& child : subTest.children)
        CheckSubTest(child, level + 1);
    for (const XmlPlan::Procedure& p : subTest.procedures) {
        Expect(p.order > 0);
        Expect(!p.status || (*p.status >= 0 && *p.status <= XmlPlanReader::kMaxStatus));
        Expect(!p.iteration || (*p.iteration >= 0 && *p.iteration <= XmlPlanReader::kMaxIteration));
        Expect(!p.workload || Finite(*p.workload));
        Expect(Characters(p.comment) <= XmlPlanReader::kMaxCommentLength);
        Expect(Characters(p.name) <= XmlPlanReader::kMaxNameLength);
        Expect(Characters(p.title) <= XmlPlanReader::kMaxNameLength);
        Expect(!p.firstPlayed || p.firstPlayed->isNull() || p.firstPlayed->isValid());
    }
}

void CheckPlan(const XmlPlan::Plan& plan)
{
    bool isNumber = false;
    Expect(plan.configuration.id.toInt(&isNumber) > 0 && isNumber);
    Expect(!plan.css || !plan.css->contains(QLatin1String("</style"), Qt::CaseInsensitive));
    QSet<QDate> days;
    for (const XmlPlan::History& h : plan.history) {
        for (double value : {h.advancement, h.workload, h.passed, h.failed, h.warning, h.canceled})
            Expect(Finite(value));
        // One row a day, a row without date counting as today's.
        const QDate day = h.date.isNull() ? QDate::currentDate() : h.date;
        Expect(!days.contains(day));
        days.insert(day);
    }
    for (const XmlPlan::SubTest& subTest : plan.subTests)
        CheckSubTest(subTest, 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QString error;
    const std::optional<XmlPlan::Plan> plan = XmlPlanReader::ReadData(bytes, &error);
    if (plan)
        CheckPlan(*plan);
    else
        Expect(!error.isEmpty());

    // The value parsers on the same bytes as text.
    const QString text = QString::fromUtf8(bytes);
    const QString content = XmlPlanReader::Unwrap(text);
    Expect(content.size() <= text.size());
    if (const std::optional<double> number = XmlPlanReader::ParseDecimal(text))
        Expect(std::isfinite(*number));
    XmlPlanReader::ParseWhole(text);
    if (const std::optional<QDate> date = XmlPlanReader::ParseDate(text))
        Expect(date->isValid());
    return 0;
}
