#include "updater/core/UpdaterMessages.h"

#include <array>
#include <utility>

namespace kv::updater {

namespace {

struct Texts {
    const char* english;
    const char* portuguese;
};

// Numbers 15 and 20 are kept for the table's numbering; nothing shows them.
const std::array<Texts, 31> Table = {{
    {"Application update wizard", "Actualização do Software"},
    {"Downloading files...", "Transferir ficheiros..."},
    {"Upgrade completed!", "Actualização concluida!"},
    {"Current file", "A transferir o ficheiro"},
    {"All files", "Todos os ficheiros"},
    {"Downloading file from", "Transferir ficheiros de..."},
    {"File size: %.1f Kb", "Tamanho do ficheiro: %.1f Kb"},
    {"Transfer rate: %.1f Kb/s", "A tranferir ficheiro: %.1f Kb/s"},
    {"Estimated time left: %d:%.2d:%.2d", "Tempo estimado: %d:%.2d:%.2d"},
    {"Downloading %d of %d", "Transferir %d de %d"},
    {"The update of %s has been successfully completed.\n\nPress the OK button to restart program.",
     "Transferencia do Software %s ficou completa.\n\nCarregue OK do botão para iniciar o programa."},
    {"Enter password", "Insira a password"},
    {"User Name", "User Name"},
    {"Password", "Password"},
    {"&Yes", "&Sim"},
    {"&No", "&Não"},
    {"&OK", "&OK"},
    {"&Cancel", "&Cancelar"},
    {"&Next >", "&Seguinte"},
    {"&Later", "&Não"},
    {"Warning", "Aviso"},
    {"Error", "Erro"},
    {"Preparing. . .", "A Preparar. . ."},
    {"A newer version of %s was released.\n%s\nDo you want to update your version with the latest one?",
     "Existe uma nova versão do %s.\n%s\nDeseja actualizar a nova versão?"},
    {"Newer version not found. You actually are\nusing most recent version of this program.",
     "Não existe nenhuma nova versão do Software.\n\nActualmente está usar uma versão mais recente."},
    {"File which contains upgrade information was not found on developer's site.",
     "NÃO TEM PERMISSÃO PARA FAZER ACTUALIZAÇÕES (CONTACTE OS SERVIÇOS TÉCNICOS).\n\n"
     "OU NÃO FOI ENCONTRADO NENHUMA ACTUALIZAÇÃO NECESSÁRIA."},
    {"Host %s unreachable.\n\nPlease check your Internet connection and\ntry to upgrade this software again later.",
     "Erro na %s ligação da Internet.\n\nPor favor verifique sua ligação à Internet.\n"
     "Ou tente fazer a actualização deste software mais tarde."},
    {"The update is not completed.\nWould you like to abort upgrading?",
     "A actualização não está completa.\n\nDeseja interromper a actualização?"},
    {"File %s not found or inaccessible.\n\nTry to skip this file and continue upgrade?",
     "Ficheiro %s não foi encontrado ou está inacessível.\n\n"
     "Tente não actualizar este ficheiro e continuar com a actualização?"},
    {"Access to remote file \"%s\" is password protected.\n\nPlease enter your username and password "
     "(received after registration) to continue software upgrade.",
     "O acesso a certos ficheiros \"%s\" esta protegido por palavra passe.\n\nPor favor introduza a sua "
     "password (recebida depois de registado) para continuar o upgrade do software."},
    {"Connection with remote server lost.\n\nPlease restore connection and try to\nupgrade this software "
     "again later.",
     "Ligação do servidor foi perdida.\n\nRefaça a ligação e continue com actualização do software."},
}};

// Language numbers of the table by the locale's language; the first match wins.
const std::pair<QLocale::Language, int> Languages[] = {
    {QLocale::English, 1},    {QLocale::Russian, 2},          {QLocale::German, 3},   {QLocale::French, 4},
    {QLocale::Spanish, 5},    {QLocale::Portuguese, 6},       {QLocale::Italian, 8},  {QLocale::Dutch, 9},
    {QLocale::Danish, 10},    {QLocale::Swedish, 11},         {QLocale::Finnish, 12}, {QLocale::Estonian, 13},
    {QLocale::Ukrainian, 14}, {QLocale::Polish, 15},          {QLocale::Czech, 16},   {QLocale::Hungarian, 17},
    {QLocale::Romanian, 18},  {QLocale::Catalan, 19},         {QLocale::Basque, 20},  {QLocale::Afrikaans, 21},
    {QLocale::Chinese, 22},   {QLocale::Indonesian, 24},      {QLocale::Malay, 25},   {QLocale::Icelandic, 26},
    {QLocale::Turkish, 27},   {QLocale::NorwegianBokmal, 28}, {QLocale::Slovak, 29},
};

} // namespace

int UpdaterMessages::chooseLanguage(const QLocale& locale)
{
    if (locale.language() == QLocale::Portuguese)
        return locale.territory() == QLocale::Brazil ? PortugueseBrazilian : Portuguese;
    if (locale.language() == QLocale::Chinese)
        return locale.script() == QLocale::SimplifiedHanScript ? 23 : 22;
    for (const auto& [language, number] : Languages)
        if (language == locale.language())
            return number;
    return English;
}

QString UpdaterMessages::text(int number) const
{
    if (number < 0 || number >= int(Table.size()))
        return {};
    const Texts& texts = Table[std::size_t(number)];
    // Only English and Portuguese texts exist; Brazil reads the Portuguese ones.
    const bool portuguese = m_language == Portuguese || m_language == PortugueseBrazilian;
    return QString::fromUtf8(portuguese ? texts.portuguese : texts.english);
}

} // namespace kv::updater
