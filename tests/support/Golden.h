#pragma once

#include <QByteArray>
#include <QDebug>
#include <QFile>
#include <QString>

// Written files compared with their stored twins in the test's KORAVEL_GOLDEN_DIR.
namespace Golden {

inline QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Compares a written file with its stored twin; KORAVEL_WRITE_GOLDEN=1 stores it instead.
inline bool SameAsGolden(const QString& path, const QString& golden)
{
    const QString stored = QStringLiteral(KORAVEL_GOLDEN_DIR) + QLatin1Char('/') + golden;
    const QByteArray written = ReadFile(path);
    if (qEnvironmentVariableIntValue("KORAVEL_WRITE_GOLDEN") == 1) {
        QFile file(stored);
        return file.open(QIODevice::WriteOnly) && file.write(written) == written.size();
    }
    if (written == ReadFile(stored))
        return true;
    qWarning().noquote() << "differs from" << stored << ":\n" << QString::fromUtf8(written.left(4000));
    return false;
}

}  // namespace Golden
