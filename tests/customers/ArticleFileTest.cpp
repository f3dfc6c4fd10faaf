// The article file's writes on both engines: codes checked by key and
// claimed between workstations, the save of a new article in one
// transaction (constants, zeros, cut texts, refused numbers, a stored code
// never written over), and the article's picture files.
#include "customers/articles/ArticleFile.h"
#include "customers/articles/ArticlePictureFiles.h"
#include "platform/db/Connection.h"
#include "shell/LoginState.h"
#include "shell/VersionUpdate.h"
#include "support/Scenario.h"
#include "support/TableRows.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using kv::customers::ArticleCodeCheck;
using kv::customers::ArticleFile;
using kv::customers::ArticlePictureFiles;
using kv::customers::ArticleSaveResult;
using kv::customers::ArticleTexts;
using kv::test::Engine;
using Outcome = ArticleSaveResult::Outcome;

namespace {

struct ArticleCompany {
    explicit ArticleCompany(Engine engine)
    {
        scenario.createInstallation(engine);
        db = scenario.invoicingDatabase();
        kv::test::insertRows(*db, "ARTIGOSCLS", {"CODIGO", "DESIGNACAO", "ROTURA", "DTABERTURA"},
                             {{"A1", "Caixa antiga", "S", QDateTime(QDate(2020, 1, 2), QTime(0, 0))}});
    }

    ArticleFile file(const char* workstation) { return ArticleFile(db, QString::fromLatin1(workstation), "ANA"); }
    int count(const QString& sql) { return db->scalar(sql).toInt(); }
    // The first row of a statement by upper-case column name; empty when none.
    QVariantMap row(const QString& sql)
    {
        const kv::db::QueryResult result = db->query(sql);
        QVariantMap values;
        if (!result.isEmpty())
            for (qsizetype c = 0; c < result.columns.size(); ++c)
                values.insert(result.columns.at(c).toUpper(), result.rows.front().at(static_cast<std::size_t>(c)));
        return values;
    }

    kv::test::Scenario scenario;
    std::shared_ptr<kv::db::Connection> db;
};

ArticleTexts newArticle(const QString& code)
{
    return {{"CODIGO", code}, {"DESIGNACAO", "Caixa 30x20"}, {"TIPOARTIGO", "1"}, {"UNVENDA", "UND"}};
}

class ArticleCodes : public ::testing::TestWithParam<Engine> {};
class ArticleSave : public ::testing::TestWithParam<Engine> {};

TEST_P(ArticleCodes, AreCheckedByKeyAndClaimedForOneWorkstation)
{
    KV_SKIP_WITHOUT(GetParam());
    ArticleCompany company(GetParam());
    ArticleFile first = company.file("POSTO1");
    ArticleFile second = company.file("POSTO2");
    struct Case {
        ArticleFile* file;
        const char* code;
        ArticleCodeCheck expected;
    };
    const Case cases[] = {
        {&first, "", ArticleCodeCheck::Empty},
        {&first, "   ", ArticleCodeCheck::Empty},
        {&first, "A1", ArticleCodeCheck::Stored},
        {&first, "NOVO", ArticleCodeCheck::Accepted},
        {&first, "NOVO", ArticleCodeCheck::Accepted}, // a claim held is kept
        {&second, "NOVO", ArticleCodeCheck::HeldElsewhere},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.file->acceptCode(QString::fromLatin1(c.code)), c.expected) << c.code;
    EXPECT_EQ(company.count("SELECT COUNT(*) FROM RESERVAS WHERE TABELA = 'ARTIGOSCLS'"), 1);

    // Given up, the code is free for the other workstation.
    first.releaseCode("NOVO");
    EXPECT_EQ(second.acceptCode("NOVO"), ArticleCodeCheck::Accepted);
}

TEST_P(ArticleSave, ANewArticleIsOneRowWithItsConstantsAndZeros)
{
    KV_SKIP_WITHOUT(GetParam());
    ArticleCompany company(GetParam());
    ArticleFile file = company.file("POSTO1");
    ASSERT_EQ(file.acceptCode("B2"), ArticleCodeCheck::Accepted);
    ArticleTexts fields = newArticle("B2");
    fields["DESIGNACAO"] = QString(45, QLatin1Char('x'));
    fields["VOSREF"] = "REFERENCIA-DO-CLIENTE-LONGA"; // 27 characters for 15
    fields["PRECO1"] = "12,5";
    fields["COMPRIM"] = "300";
    fields["CUSTOM3"] = "7";
    fields["PESO"] = "";
    const ArticleSaveResult result = file.save(fields, QDate(2024, 3, 15));
    ASSERT_EQ(result.outcome, Outcome::Saved) << result.message.toStdString();

    const QVariantMap row = company.row("SELECT * FROM ARTIGOSCLS WHERE CODIGO = 'B2'");
    ASSERT_FALSE(row.isEmpty());
    EXPECT_EQ(row.value("DESIGNACAO").toString(), QString(40, QLatin1Char('x')));
    EXPECT_EQ(row.value("VOSREF").toString(), "REFERENCIA-DO-C");
    EXPECT_DOUBLE_EQ(row.value("PRECO1").toDouble(), 12.5);
    EXPECT_DOUBLE_EQ(row.value("COMPRIM").toDouble(), 300.0);
    EXPECT_EQ(row.value("CUSTOM3").toInt(), 7);
    for (const char* zero : {"PESO", "VOLUME", "PRECO2", "STKMIN", "COMPOSICAO", "CODIVA", "COMISSAO", "CUSTOM1",
                             "CODIGOGRELHA", "NROFOTOS"})
        EXPECT_EQ(row.value(zero).toDouble(), 0.0) << zero;
    for (const auto& [column, flag] : {std::pair{"GRELHA", "N"}, std::pair{"ROTURA", "N"},
                                       std::pair{"DESCONTINUADO", "N"}, std::pair{"MEDIDAS", "S"}})
        EXPECT_EQ(row.value(column).toString(), flag) << column;
    EXPECT_EQ(row.value("DTABERTURA").toDateTime().date(), QDate(2024, 3, 15));
    // The claim ended with the save.
    EXPECT_EQ(company.count("SELECT COUNT(*) FROM RESERVAS"), 0);
}

TEST_P(ArticleSave, AStoredArticleIsNeverWrittenOver)
{
    KV_SKIP_WITHOUT(GetParam());
    ArticleCompany company(GetParam());
    ArticleFile file = company.file("POSTO1");
    const ArticleSaveResult result = file.save(newArticle("A1"), QDate(2024, 3, 15));
    EXPECT_EQ(result.outcome, Outcome::Stored);
    EXPECT_EQ(result.message, "ARTIGO JÁ FOI ABERTO ... <ENTER>");
    const QVariantMap row = company.row("SELECT * FROM ARTIGOSCLS WHERE CODIGO = 'A1'");
    EXPECT_EQ(row.value("DESIGNACAO").toString(), "Caixa antiga");
    EXPECT_EQ(row.value("ROTURA").toString(), "S");
    EXPECT_EQ(row.value("DTABERTURA").toDateTime().date(), QDate(2020, 1, 2));
}

TEST_P(ArticleSave, AFieldThatCannotBeSavedWritesNothing)
{
    KV_SKIP_WITHOUT(GetParam());
    ArticleCompany company(GetParam());
    ArticleFile file = company.file("POSTO1");
    ASSERT_EQ(file.acceptCode("C3"), ArticleCodeCheck::Accepted);
    struct Case {
        const char* column;
        const char* typed;
    };
    const Case cases[] = {
        {"PRECO2", "doze"},         {"STKMAX", "1,2,3"},
        {"CODIVA", "2,5"},          {"CUSTOM9", "40000"}, // beyond what the small-integer column holds
        {"COMISSAO", "3000000000"},
    };
    for (const Case& c : cases) {
        ArticleTexts fields = newArticle("C3");
        fields[QString::fromLatin1(c.column)] = QString::fromLatin1(c.typed);
        const ArticleSaveResult result = file.save(fields, QDate(2024, 3, 15));
        EXPECT_EQ(result.outcome, Outcome::Refused) << c.column;
        EXPECT_EQ(result.column, c.column);
        EXPECT_TRUE(result.message.contains(QString::fromLatin1(c.typed))) << result.message.toStdString();
    }
    EXPECT_EQ(company.count("SELECT COUNT(*) FROM ARTIGOSCLS WHERE CODIGO = 'C3'"), 0);
    // The claim stays while the form is open; the corrected save stores it.
    EXPECT_EQ(company.count("SELECT COUNT(*) FROM RESERVAS"), 1);
    EXPECT_EQ(file.save(newArticle("C3"), QDate(2024, 3, 15)).outcome, Outcome::Saved);
}

TEST_P(ArticleSave, TwoWorkstationsNeverStoreTheSameCode)
{
    KV_SKIP_WITHOUT(GetParam());
    ArticleCompany company(GetParam());
    ArticleFile first = company.file("POSTO1");
    ArticleFile second = company.file("POSTO2");
    ASSERT_EQ(first.acceptCode("D4"), ArticleCodeCheck::Accepted);
    EXPECT_EQ(second.acceptCode("D4"), ArticleCodeCheck::HeldElsewhere);
    ASSERT_EQ(first.save(newArticle("D4"), QDate(2024, 3, 15)).outcome, Outcome::Saved);
    EXPECT_EQ(second.acceptCode("D4"), ArticleCodeCheck::Stored);
    // A workstation that never claimed it meets the stored row too.
    ArticleTexts other = newArticle("D4");
    other["DESIGNACAO"] = "Outra";
    EXPECT_EQ(second.save(other, QDate(2024, 3, 16)).outcome, Outcome::Stored);
    EXPECT_EQ(company.db->scalar("SELECT DESIGNACAO FROM ARTIGOSCLS WHERE CODIGO = 'D4'").toString(), "Caixa 30x20");
}

TEST_P(ArticleSave, TheClassificationIsReadByKey)
{
    KV_SKIP_WITHOUT(GetParam());
    ArticleCompany company(GetParam());
    kv::test::insertRows(*company.db, "PARCUSTOM", {"CODIGO", "GRUPOTIPO1", "GRUPOTIPO10", "GRUPOTIPO11"},
                         {{"1", "C", "D", "E"}});
    kv::test::insertRows(*company.db, "PARGRUPOS", {"TABGRUPO", "TABCOD", "TABNOM"},
                         {{"C", "1", "Estilo"}, {"C", "4", "Cartão"}, {"D", "2", "Outro"}});
    kv::test::insertRows(*company.db, "CUSTARTG", {"TABGRUPO", "PAIS", "TABCOD", "CODIGO", "DESIGNACAO"},
                         {{"C", "PORTUGAL", "4", 12, "Microcanal"}, {"C", "ESPANHA", "4", 12, "Microcanal ES"}});
    ArticleFile file = company.file("POSTO1");
    const QVariantMap parameters = file.customisationParameters();
    for (const auto& [type, group] : {std::pair{"1", "C"}, std::pair{"10", "D"}, std::pair{"11", ""},
                                      std::pair{"01", ""}, std::pair{"", ""}, std::pair{"x", ""}})
        EXPECT_EQ(ArticleFile::groupOfType(parameters, QString::fromLatin1(type)), group) << type;
    const std::array<QString, 9> tables = file.groupTables("C");
    EXPECT_EQ(tables[0], "Estilo");
    EXPECT_EQ(tables[3], "Cartão");
    EXPECT_TRUE(tables[1].isEmpty());
    EXPECT_EQ(file.customisationName("C", 4, 12), "Microcanal");
    EXPECT_TRUE(file.customisationName("C", 4, 13).isEmpty());
    company.db->exec("DELETE FROM PARCUSTOM");
    EXPECT_TRUE(file.customisationParameters().isEmpty());
}

// A company made before the article form: customisation parameters without
// the coding switch and base country, no claims, no per-country rows.
TEST_P(ArticleCodes, AnOlderCompanyGetsWhatTheArticleFormReads)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario scenario;
    scenario.createInstallation(GetParam());
    auto application = scenario.applicationDatabase();
    auto invoicing = scenario.invoicingDatabase();
    for (const char* table : {"PARCUSTOM", "RESERVAS", "ARTIGOSPAIS"})
        invoicing->exec(QStringLiteral("DROP TABLE %1").arg(QLatin1String(table)));
    invoicing->exec("CREATE TABLE PARCUSTOM (CODIGO VARCHAR(1), GRUPOTIPO1 VARCHAR(1))");
    invoicing->exec("INSERT INTO PARCUSTOM (CODIGO, GRUPOTIPO1) VALUES ('1', 'C')");

    kv::shell::LoginState state;
    state.setFixedValues();
    state.WEmpNro = 1;
    state.WData = QDate(2024, 5, 17);
    kv::shell::VersionUpdate(*application, state).readRecordedVersion();
    application->exec("UPDATE ACTUAL_VERSAO SET VERSAO = '01.009'");
    kv::shell::VersionUpdate update(*application, state);
    update.readRecordedVersion();
    update.addCompanyDatabase(kv::schema::Database::Invoicing, *invoicing);
    ASSERT_TRUE(update.run().isEmpty());

    for (const char* column : {"REFARTIGO", "PAISBASE"})
        EXPECT_TRUE(invoicing->columnExists("PARCUSTOM", column)) << column;
    EXPECT_TRUE(invoicing->tableExists("RESERVAS"));
    EXPECT_TRUE(invoicing->tableExists("ARTIGOSPAIS"));
    // The parameters kept their group; the article form reads them.
    ArticleFile file(invoicing, "POSTO1", "ANA");
    const QVariantMap parameters = file.customisationParameters();
    EXPECT_EQ(ArticleFile::groupOfType(parameters, "1"), "C");
    EXPECT_TRUE(parameters.value("REFARTIGO").toString().isEmpty());
}

KV_ENGINE_SUITE(ArticleCodes);
KV_ENGINE_SUITE(ArticleSave);

// ---------------------------------------------------------------- picture files

struct PictureFolder {
    PictureFolder()
    {
        folder = dir.path() + QStringLiteral("/fotos");
        QDir().mkpath(folder);
    }
    QString file(const QString& name) const { return folder + QLatin1Char('/') + name; }
    void write(const QString& name, const QByteArray& bytes) const
    {
        QFile f(file(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray read(const QString& name) const
    {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    ArticlePictureFiles pictures(const QString& code) const { return ArticlePictureFiles(nullptr, folder, code); }

    QTemporaryDir dir;
    QString folder;
};

TEST(ArticlePictureFiles, ACodeNamesAFileOnlyInsideItsFolder)
{
    struct Case {
        const char* code;
        bool namesFile;
    };
    for (const Case& c : {Case{"A1", true}, Case{"CX-30.20", true}, Case{"..", true}, Case{"", false}, Case{" ", false},
                          Case{"../A1", false}, Case{"..\\A1", false}, Case{"C:A1", false}, Case{"/tmp/x", false}})
        EXPECT_EQ(ArticlePictureFiles::codeNamesFile(QString::fromLatin1(c.code)), c.namesFile) << c.code;

    PictureFolder p;
    EXPECT_TRUE(p.pictures("../A1").path(1).isEmpty());
    EXPECT_TRUE(p.pictures("A1").path(0).isEmpty());
    EXPECT_TRUE(p.pictures("A1").path(5).isEmpty());
    EXPECT_EQ(p.pictures("A1").path(2), p.file("A12.Bmp"));
}

TEST(ArticlePictureFiles, AreFoundWhateverTheLetterCaseOnDisk)
{
    PictureFolder p;
    p.write("a12.BMP", "old");
    const ArticlePictureFiles pictures = p.pictures("A1");
    EXPECT_EQ(pictures.existing(2), p.file("a12.BMP"));
    EXPECT_TRUE(pictures.existing(1).isEmpty());
    EXPECT_EQ(pictures.pictureNumber(p.file("a12.BMP")), 2);
    EXPECT_EQ(pictures.pictureNumber(p.file("B12.Bmp")), 0);
}

TEST(ArticlePictureFiles, AnImportReplacesThePictureOrLeavesItWhole)
{
    PictureFolder p;
    p.write("A12.Bmp", "old");
    p.write("new.bmp", "new picture");
    const ArticlePictureFiles pictures = p.pictures("A1");
    EXPECT_FALSE(pictures.import(p.file("new.bmp"), 2).has_value());
    EXPECT_EQ(p.read("A12.Bmp"), "new picture");
    // A copy that cannot be made is told and the picture there stays.
    const std::optional<QString> failure = pictures.import(p.file("missing.bmp"), 2);
    ASSERT_TRUE(failure.has_value());
    EXPECT_TRUE(failure->contains("missing.bmp"));
    EXPECT_EQ(p.read("A12.Bmp"), "new picture");
    // A new picture is written as ".Bmp".
    EXPECT_FALSE(pictures.import(p.file("new.bmp"), 3).has_value());
    EXPECT_TRUE(QFile::exists(p.file("A13.Bmp")));
    // No code, no file.
    EXPECT_TRUE(p.pictures("../A1").import(p.file("new.bmp"), 1).has_value());
    EXPECT_FALSE(QFile::exists(p.dir.path() + "/A11.Bmp"));
}

TEST(ArticlePictureFiles, ADeleteRemovesOnlyAPictureOfTheArticle)
{
    PictureFolder p;
    p.write("A11.Bmp", "1");
    p.write("B11.Bmp", "other article");
    p.write("notes.txt", "other file");
    const ArticlePictureFiles pictures = p.pictures("A1");
    for (const QString& other :
         {p.file("B11.Bmp"), p.file("notes.txt"), QStringLiteral("file not found"), QString(), p.file("A12.Bmp")})
        EXPECT_FALSE(pictures.remove(other)) << other.toStdString();
    EXPECT_TRUE(QFile::exists(p.file("B11.Bmp")));
    EXPECT_TRUE(QFile::exists(p.file("notes.txt")));
    EXPECT_TRUE(pictures.remove(p.file("A11.Bmp")));
    EXPECT_FALSE(QFile::exists(p.file("A11.Bmp")));
}

} // namespace
