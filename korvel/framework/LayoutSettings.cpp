#include "LayoutSettings.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <QTextStream>

namespace KV {

bool ReadLayoutStyleSheet(const QString& path, QString& styleSheet)
{
    styleSheet.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;

    static const QRegularExpression sectionHeader(QStringLiteral("^\\s*\\[([^\\]]+)\\]\\s*$"));
    QTextStream stream(&file);
    stream.setCodec("UTF-8");
    QStringList lines;
    bool inStyleSheet = false;
    while (!stream.atEnd()) {
        const QString line = stream.readLine();
        const QRegularExpressionMatch header = sectionHeader.match(line);
        if (header.hasMatch()) {
            inStyleSheet = header.captured(1).trimmed() == QLatin1String("StyleSheet");
            continue;
        }
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1Char(';')) || trimmed.startsWith(QLatin1Char('#')))
            continue;
        if (inStyleSheet)
            lines.append(line);
    }
    styleSheet = lines.join(QLatin1Char('\n')).trimmed();
    return true;
}

} // namespace KV
