#include "shell/UpdateCheck.h"
#include "shell/WorkstationFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

using kv::shell::UpdateCheck;
using kv::shell::WorkstationFiles;

namespace {

struct FilesCase {
    const char* label;
    std::optional<QByteArray> nameFile; // nothing: the file is missing
    std::optional<QByteArray> typeFile;
    QString name;
    QString type;
    QString message;
};

void PrintTo(const FilesCase& c, std::ostream* os) { *os << c.label; }

class WorkstationFilesCases : public ::testing::TestWithParam<FilesCase> {};

TEST_P(WorkstationFilesCases, ReadsTheLastLineOrStops)
{
    const FilesCase& c = GetParam();
    QTemporaryDir dir;
    const QString nameFile = dir.filePath("Computador.txt");
    const QString typeFile = dir.filePath("TipoComputador.txt");
    for (const auto& [path, content] : {std::pair{nameFile, c.nameFile}, std::pair{typeFile, c.typeFile}}) {
        if (!content)
            continue;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(*content);
    }
    const auto reading = WorkstationFiles::read(nameFile, typeFile);
    EXPECT_EQ(reading.stopMessage, c.message);
    if (c.message.isEmpty()) {
        EXPECT_EQ(reading.name, c.name);
        EXPECT_EQ(reading.type, c.type);
    }
}

const QString NameMessage = "Parâmetros de Pc_Name não definidos ...";
const QString TypeMessage = "Parâmetros de Tipo de Computador inválidos ...";

INSTANTIATE_TEST_SUITE_P(
    Workstation, WorkstationFilesCases,
    ::testing::Values(FilesCase{"last line wins", "PC1\nPC2\n", "S\n", "PC2", "S", ""},
                      FilesCase{"without final newline", "PC1\nPC2", "M", "PC2", "M", ""},
                      FilesCase{"windows line ends", "PC1\r\nPC2\r\n", "S\r\n", "PC2", "S", ""},
                      FilesCase{"name cut to 30", QByteArray(40, 'A') + "\n", "S\n", QString(30, 'A'), "S", ""},
                      FilesCase{"type is the first character", "PC1\n", "Standard\n", "PC1", "S", ""},
                      FilesCase{"type of the last line", "PC1\n", "S\nMultiposto\n", "PC1", "M", ""},
                      FilesCase{"empty second name line", "PC1\n\n", "S\n", "", "", NameMessage},
                      FilesCase{"empty first name line", "\nPC2\n", "S\n", "", "", NameMessage},
                      FilesCase{"empty name file", "", "S\n", "", "", NameMessage},
                      FilesCase{"name file missing", std::nullopt, "S\n", "", "", NameMessage},
                      FilesCase{"empty type line", "PC1\n", "S\n\n", "", "", TypeMessage},
                      FilesCase{"type file missing", "PC1\n", std::nullopt, "", "", TypeMessage},
                      FilesCase{"NUL bytes in the name", QByteArray("PC\0\0\0\n", 6), "S\n", "", "", NameMessage},
                      FilesCase{"binary garbage", QByteArray("\x89PNG\r\n\x1a\n\xff\xfe\x01"), "S\n", "", "",
                                NameMessage},
                      FilesCase{"accented name", "POSTO-JOÃO\n", "S\n", "POSTO-JOÃO", "S", ""}));

TEST(UpdateInformationFile, StandardOnlyForTypeS)
{
    EXPECT_EQ(UpdateCheck::infoFileFor("S"), "UKavorimetas.txt");
    EXPECT_EQ(UpdateCheck::infoFileFor("M"), "UKavorimetas_MP.txt");
    EXPECT_EQ(UpdateCheck::infoFileFor("s"), "UKavorimetas_MP.txt");
}

} // namespace
