#include "platform/rtf/NotesText.h"

#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfWriter.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QTextDocument>
#include <stdexcept>

namespace kv::rtf {

QString NotesText::decodePlainText(const QByteArray& data)
{
    if (data.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(data.mid(3));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(data);
    if (!utf8.hasError())
        return text;
    QStringDecoder windows("windows-1252");
    if (windows.isValid())
        return windows.decode(data);
    return QString::fromLatin1(data);
}

void NotesText::load(const QString& path, QTextDocument& document)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(
            QStringLiteral("Não foi possível ler o ficheiro %1: %2").arg(path, file.errorString()).toStdString());
    const QByteArray data = file.readAll();
    if (RtfReader::read(data, document))
        return;
    QString text = decodePlainText(data);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    document.setPlainText(text);
}

void NotesText::save(const QString& path, const QTextDocument& document)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(RtfWriter::write(document)) < 0 || !file.commit())
        throw std::runtime_error(
            QStringLiteral("Não foi possível gravar o ficheiro %1: %2").arg(path, file.errorString()).toStdString());
}

} // namespace kv::rtf
