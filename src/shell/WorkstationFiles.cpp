#include "shell/WorkstationFiles.h"

#include <QFile>
#include <QTextStream>
#include <algorithm>

namespace kv::shell {
namespace {

// The value of the last line, each line cut to `length` characters; empty when
// a line gives nothing or the file cannot be read.
QString lastLineValue(const QString& path, int length)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QTextStream in(&file);
    QString value;
    while (!in.atEnd()) {
        QString line = in.readLine();
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        value = line.left(length);
        if (value.isEmpty())
            return {};
    }
    // A name with control characters (NUL bytes of a damaged file) or bytes
    // that are not text names no workstation: the file is not set up.
    const bool garbage = std::any_of(value.cbegin(), value.cend(),
                                     [](QChar c) { return !c.isPrint() || c == QChar::ReplacementCharacter; });
    return garbage ? QString() : value;
}

} // namespace

QString WorkstationFiles::nameMessage() { return QStringLiteral("Parâmetros de Pc_Name não definidos ..."); }

QString WorkstationFiles::typeMessage() { return QStringLiteral("Parâmetros de Tipo de Computador inválidos ..."); }

WorkstationReading WorkstationFiles::read(const QString& nameFile, const QString& typeFile)
{
    WorkstationReading reading;
    reading.name = lastLineValue(nameFile, NameLength);
    if (reading.name.isEmpty()) {
        reading.stopMessage = nameMessage();
        return reading;
    }
    reading.type = lastLineValue(typeFile, 1);
    if (reading.type.isEmpty())
        reading.stopMessage = typeMessage();
    return reading;
}

} // namespace kv::shell
