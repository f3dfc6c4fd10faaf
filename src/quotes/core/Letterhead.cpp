#include "quotes/core/Letterhead.h"

#include "platform/db/Connection.h"

#include <utility>

namespace kv::quotes {

namespace {

const std::pair<const char*, LetterheadColour> colourNames[] = {
    {"Amarelo", {255, 255, 0}},       {"Vermelho", {255, 0, 0}},    {"Azul", {0, 0, 255}},
    {"Bordeaux", {128, 0, 0}},        {"Azul Escuro", {0, 0, 128}}, {"Verde Limão", {0, 255, 0}},
    {"Verde", {0, 128, 0}},           {"Teal", {0, 128, 128}},      {"Cinza Escuro", {128, 128, 128}},
    {"Cinza Claro", {192, 192, 192}}, {"Laranja", {255, 128, 0}},   {"Verde Azeitona", {128, 128, 0}},
    {"Castanho", {128, 64, 0}},       {"Fuchsia", {255, 0, 255}},   {"Preto", {0, 0, 0}},
    {"Branco", {255, 255, 255}},
};

} // namespace

std::optional<LetterheadColour> Letterhead::colour(const QString& name)
{
    for (const auto& [known, rgb] : colourNames) {
        if (name == QString::fromUtf8(known))
            return rgb;
    }
    return std::nullopt;
}

std::optional<LetterheadStyle> Letterhead::style(const QString& boldFlag, const QString& italicFlag)
{
    const auto flag = [](const QString& value) -> std::optional<bool> {
        if (value == QLatin1String("S"))
            return true;
        if (value == QLatin1String("N"))
            return false;
        return std::nullopt;
    };
    const auto bold = flag(boldFlag);
    const auto italic = flag(italicFlag);
    if (!bold || !italic)
        return std::nullopt;
    return LetterheadStyle{*bold, *italic};
}

std::optional<Letterhead> Letterhead::read(kv::db::Connection& invoicing, const QString& year)
{
    const kv::db::QueryResult row =
        invoicing.query(QStringLiteral("SELECT * FROM FACTURAOBS WHERE ANO = :ANO"), {{QStringLiteral("ANO"), year}});
    if (row.isEmpty())
        return std::nullopt;
    Letterhead letterhead;
    for (int i = 0; i < Lines; ++i) {
        const QString n = QString::number(i + 1);
        LetterheadLine& line = letterhead.lines[i];
        line.text = row.value(0, QStringLiteral("LOGODES") + n).toString();
        line.font = row.value(0, QStringLiteral("LOGOFONT") + n).toString();
        line.size = row.value(0, QStringLiteral("LOGOTAM") + n).toInt();
        line.colour = row.value(0, QStringLiteral("LOGOCOR") + n).toString();
        line.boldFlag = row.value(0, QStringLiteral("LOGOB0") + n).toString();
        line.italicFlag = row.value(0, QStringLiteral("LOGOS0") + n).toString();
    }
    return letterhead;
}

} // namespace kv::quotes
