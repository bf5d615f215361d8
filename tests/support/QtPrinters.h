#pragma once

// GoogleTest printers, so that failed expectations on Qt values read as text.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <ostream>
#include <string>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& value, std::ostream* os)
{
    *os << '"' << value.toStdString() << '"';
}
inline void PrintTo(const QByteArray& value, std::ostream* os)
{
    *os << '"' << value.toStdString() << '"';
}
inline void PrintTo(const QStringList& value, std::ostream* os)
{
    *os << '[' << value.join(QStringLiteral(", ")).toStdString() << ']';
}
inline void PrintTo(const QVariant& value, std::ostream* os)
{
    *os << "QVariant(" << value.typeName() << ", " << value.toString().toStdString() << ')';
}
QT_END_NAMESPACE
