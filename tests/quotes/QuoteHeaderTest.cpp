#include "quotes/CollectingMessages.h"
#include "quotes/QuoteDatabase.h"

#include "quotes/core/QuoteHeader.h"
#include "quotes/core/QuoteRepository.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QVariantMap>

#include <stdexcept>

using namespace kv::quotes;
using namespace kv::quotes::test;
using kv::db::Dialect;

namespace {

const QDate kWorkingDay(2024, 3, 15);

// An application database with the general parameters (series 1 at 120,
// series 2 at 500, commissions 10/5/20 %) and what the tests store in it.
class HeaderWorld {
public:
    explicit HeaderWorld(Dialect dialect) : m_database(std::make_unique<QuoteDatabase>(dialect))
    {
        if (!m_database->available())
            return;
        db = &m_database->connection();
        db->exec("INSERT INTO ORCPARGER (CODIGO, ORCNRO1, ORCNRO2, COMISSAO1, COMISSAO2, COMISSAO3) "
                 "VALUES (1, 120, 500, 10, 5, 20)");
    }
    bool available() const { return db != nullptr; }

    // A stored quote row with a few columns of every kind the header handles.
    void storeRow(int number, int subQuote, const QVariantMap& values = {})
    {
        QuoteRow row;
        row.set("CODIGO", number);
        row.set("SUBCODIGO", subQuote);
        row.set("CLINRO", 40 + subQuote);
        row.set("NOME", QStringLiteral("Cliente %1").arg(subQuote));
        row.set("DESIGN1", QStringLiteral("Caixa %1").arg(subQuote));
        row.set("UNIDADE", "M");
        row.set("QTDORC1", 5.0 + subQuote);
        row.set("PRCCOM1", 7.0 + subQuote);
        row.set("CARTOLINA", 3 + subQuote);
        for (auto it = values.begin(); it != values.end(); ++it)
            row.set(it.key(), it.value());
        QuoteRepository(*db).insertRow(row);
    }

    void storeLine(int number, int subQuote, int detail)
    {
        db->exec("INSERT INTO ORCDET (CODIGO, SUBCODIGO, DETAIL, TIPOTABELA, CODTAB, DESIGN, TIPOCUSTO, PRECO, "
                 "VALQTD1, TMPACERTO, TMPPREV) VALUES (:C, :S, :D, 1, 2, 'Impressão', 'MO', 3.5, 12.25, 1.5, 2)",
                 {{"C", number}, {"S", subQuote}, {"D", detail}});
    }

    long long count(const char* sql, int number)
    {
        return db->scalar(QString::fromLatin1(sql), {{"N", number}}).toLongLong();
    }
    long long rowsOf(int number) { return count("SELECT COUNT(*) FROM ORCMAS WHERE CODIGO = :N", number); }
    long long linesOf(int number) { return count("SELECT COUNT(*) FROM ORCDET WHERE CODIGO = :N", number); }
    long long counter(int series) { return *QuoteRepository(*db).seriesCounter(series); }
    std::optional<QuoteRow> row(int number, int subQuote) { return QuoteRepository(*db).row(number, subQuote); }

    QuoteHeader header() { return QuoteHeader(*db, messages); }

    std::unique_ptr<QuoteDatabase> m_database;
    kv::db::Connection* db = nullptr;
    CollectingMessages messages;
};

class QuoteHeaderTest : public ::testing::TestWithParam<Dialect> {
protected:
    void SetUp() override
    {
        w = std::make_unique<HeaderWorld>(GetParam());
        if (!w->available())
            GTEST_SKIP() << "PostgreSQL de teste indisponível (KV_TEST_PG_HOST)";
    }
    std::unique_ptr<HeaderWorld> w;
};

TEST(QuoteHeaderText, seriesAndWholeNumbers)
{
    EXPECT_EQ(QuoteHeader::series("1"), 1);
    EXPECT_EQ(QuoteHeader::series("5"), 5);
    for (const char* refused : {"6", "0", "", " 1", "12", "a"})
        EXPECT_FALSE(QuoteHeader::series(QString::fromLatin1(refused))) << refused;
    EXPECT_EQ(QuoteHeader::wholeNumber(" 42 "), 42);
    for (const char* refused : {"", "4,5", "12a", "99999999999"})
        EXPECT_FALSE(QuoteHeader::wholeNumber(QString::fromLatin1(refused))) << refused;
}

TEST_P(QuoteHeaderTest, proposalIsTheSeriesCounterPlusOne)
{
    EXPECT_EQ(w->header().proposedNumber(1), 121);
    EXPECT_EQ(w->header().proposedNumber(2), 501);
    EXPECT_EQ(w->header().proposedNumber(3), 1); // an empty counter
    w->db->exec("DELETE FROM ORCPARGER");
    EXPECT_FALSE(w->header().proposedNumber(1));
}

// The sub-quote field's checks in their order, each on the quote rows that
// make it fire.
// The sub-quote field's checks in their order, each on the quote rows that
// make it fire (quote 7).
struct OpeningCase {
    const char* label;
    std::vector<std::pair<int, QVariantMap>> stored;
    int subQuote;
    bool mayInsert;
    SubQuoteOpening::Kind kind;
    const char* message; // "" for none
    HeaderFocus focus;
    WorksheetMode mode;
};

const QVariantMap kApproved{{"APROVADO", "S"}};
using Kind = SubQuoteOpening::Kind;

const OpeningCase kOpenings[] = {
    {"subQuote10", {}, 10, true, Kind::Refused, "Tipo de Orçamento Inválido", HeaderFocus::Stay, {}},
    {"subQuoteNegative", {}, -1, true, Kind::Refused, "Tipo de Orçamento Inválido", HeaderFocus::Stay, {}},
    {"noInsertRight",
     {},
     0,
     false,
     Kind::Refused,
     "Não tem privilégios para inserir Orçamentos",
     HeaderFocus::Number,
     {}},
    {"accessoryWithoutBase", {}, 3, true, Kind::Refused, "Orçamento da Caixa Inexistente !!!", HeaderFocus::Stay, {}},
    {"newAccessoryWithoutSummary",
     {{0, {}}},
     3,
     true,
     Kind::Refused,
     "ERRO FATAL !!! Orçamento Incompleto !!!",
     HeaderFocus::Series,
     {}},
    {"storedAccessoryWithoutSummary",
     {{0, {}}, {2, {}}},
     2,
     true,
     Kind::Refused,
     "ERRO FATAL !!! Orçamento Incompleto !!!",
     HeaderFocus::Stay,
     {}},
    {"approvedSubQuote",
     {{0, kApproved}},
     0,
     true,
     Kind::Refused,
     "Orçamento já foi aprovado !!Não pode alterar! 7",
     HeaderFocus::Stay,
     {}},
    {"approvedAccessory",
     {{0, {}}, {2, kApproved}, {99, {}}},
     2,
     true,
     Kind::Refused,
     "Orçamento já foi aprovado !!Não pode alterar! 7",
     HeaderFocus::Stay,
     {}},
    {"approvedSummaryRow",
     {{0, {}}, {99, kApproved}},
     0,
     true,
     Kind::Refused,
     "Orçamento já foi aprovado !!Não pode alterar! 7",
     HeaderFocus::Stay,
     {}},
    {"newAccessoryOfApprovedQuote",
     {{0, {}}, {99, kApproved}},
     4,
     true,
     Kind::Refused,
     "Orçamento já foi aprovado !!Não pode alterar! 7",
     HeaderFocus::Stay,
     {}},
    {"newQuote", {}, 0, true, Kind::NewQuote, "", HeaderFocus::Stay, WorksheetMode::Settled},
    {"storedWithoutApprovalMark",
     {{0, {{"APROVADO", QVariant()}}}},
     0,
     true,
     Kind::StoredSubQuote,
     "",
     HeaderFocus::Stay,
     WorksheetMode::Recalculate},
    {"newAccessory",
     {{0, {}}, {99, {}}},
     2,
     true,
     Kind::CreatedSubQuote,
     "",
     HeaderFocus::Stay,
     WorksheetMode::CreatedSubQuote},
};

class QuoteHeaderOpening : public ::testing::TestWithParam<std::tuple<OpeningCase, Dialect>> {};

TEST_P(QuoteHeaderOpening, checksInOrder)
{
    const OpeningCase& c = std::get<0>(GetParam());
    HeaderWorld w(std::get<1>(GetParam()));
    if (!w.available())
        GTEST_SKIP() << "PostgreSQL de teste indisponível (KV_TEST_PG_HOST)";
    for (const auto& [subQuote, values] : c.stored)
        w.storeRow(7, subQuote, values);
    const long long before = w.rowsOf(7);
    const SubQuoteOpening o = w.header().openSubQuote(7, c.subQuote, kWorkingDay, c.mayInsert);
    EXPECT_EQ(o.kind, c.kind);
    if (*c.message) {
        EXPECT_EQ(w.messages.errors, QStringList{QString::fromUtf8(c.message)});
        EXPECT_EQ(w.messages.beeps, 1);
        EXPECT_EQ(o.focus, c.focus);
    } else {
        EXPECT_TRUE(w.messages.errors.isEmpty()) << w.messages.errors.join(" | ").toStdString();
        EXPECT_EQ(o.mode, c.mode);
        EXPECT_EQ(o.row.quoteNumber(), 7);
        EXPECT_EQ(o.row.subQuote(), c.subQuote);
    }
    // Only a created sub-quote is stored by the opening.
    EXPECT_EQ(w.rowsOf(7), before + (c.kind == Kind::CreatedSubQuote ? 1 : 0));
}

INSTANTIATE_TEST_SUITE_P(Cases, QuoteHeaderOpening,
                         ::testing::Combine(::testing::ValuesIn(kOpenings), ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<OpeningCase>);

TEST_P(QuoteHeaderTest, newQuoteGetsTheDefaultsTheDateAndTheCommissions)
{
    const SubQuoteOpening o = w->header().openSubQuote(121, 0, kWorkingDay, true);
    ASSERT_EQ(o.kind, Kind::NewQuote);
    EXPECT_EQ(o.row.value("DATEMI").toDateTime().date(), kWorkingDay);
    EXPECT_EQ(o.row.integer("UNDPLANO"), 1);
    EXPECT_EQ(o.row.text("RELEVO"), "N");
    EXPECT_EQ(o.row.text("ACABNORMAL"), "S");
    EXPECT_EQ(o.row.integer("ACERTOC_COL"), 1);
    EXPECT_EQ(o.row.text("MANUAL_AUTO"), "M");
    EXPECT_EQ(o.row.number("PLNCOMPRIM2"), 0.0);
    EXPECT_FALSE(o.row.isNull("PLNLARGURA2"));
    EXPECT_EQ(o.row.number("PRCCOM1"), 10.0);
    EXPECT_EQ(o.row.number("PRCCOM3"), 20.0);
    EXPECT_EQ(w->rowsOf(121), 0); // a quote exists from its first stored row
}

TEST_P(QuoteHeaderTest, createdAccessoryTakesTheSummaryRowAndIsStoredAtOnce)
{
    w->storeRow(7, 0);
    w->storeRow(7, 99, {{"QTDORC2", 9.0}, {"PRCCOM2", 4.0}});
    const SubQuoteOpening o = w->header().openSubQuote(7, 2, kWorkingDay, true);
    ASSERT_EQ(o.kind, Kind::CreatedSubQuote);
    const auto stored = w->row(7, 2);
    ASSERT_TRUE(stored);
    for (const char* c : {"CLINRO", "NOME", "DESIGN1", "QTDORC1", "QTDORC2", "UNIDADE", "PRCCOM1", "PRCCOM2"})
        EXPECT_EQ(stored->value(c).toString(), w->row(7, 99)->value(c).toString()) << c;
    EXPECT_TRUE(stored->isNull("CARTOLINA")); // technical fields are the sub-quote's own
    EXPECT_EQ(stored->text("APROVADO"), "N");
    EXPECT_EQ(stored->integer("ENCNRO"), 0);
    EXPECT_EQ(stored->integer("C_COLTIPO"), 1);
}

TEST_P(QuoteHeaderTest, storedAccessoryRetakesTheHeaderButKeepsItsOwnFields)
{
    w->storeRow(7, 0);
    w->storeRow(7, 2, {{"ENCNRO", 5}, {"MANUAL_AUTO", "A"}});
    w->storeRow(7, 99, {{"NOME", "Cliente novo"}, {"DESIGN1", "Caixa nova"}, {"PRCCOM1", 3.0}});
    const SubQuoteOpening o = w->header().openSubQuote(7, 2, kWorkingDay, true);
    ASSERT_EQ(o.kind, Kind::StoredSubQuote);
    EXPECT_EQ(o.row.text("NOME"), "Cliente novo");
    EXPECT_EQ(o.row.text("DESIGN1"), "Caixa nova");
    EXPECT_EQ(o.row.number("PRCCOM1"), 3.0);
    EXPECT_EQ(o.row.number("QTDORC1"), 7.0);
    EXPECT_EQ(o.row.integer("CARTOLINA"), 5);
    EXPECT_EQ(o.row.integer("ENCNRO"), 0);
    EXPECT_EQ(o.row.text("MANUAL_AUTO"), "M");
}

TEST_P(QuoteHeaderTest, copyFollowsTheColumnRulesAndRaisesTheCounter)
{
    w->storeRow(7, 0,
                {{"VALORCLI1", 10.123456},
                 {"VALMO1", 2.00005},
                 {"MARGEMLIQ1", 3.0},
                 {"ENCNRO", 9},
                 {"PRINTE", "S"},
                 {"MANUAL_AUTO", "A"},
                 {"APROVADO", "S"},
                 {"NPLANOS1", 40.0},
                 {"PLNCOMPRIM2", QVariant()},
                 {"DATEMI", QDateTime(QDate(2020, 1, 2), QTime(0, 0))}});
    w->storeRow(7, 1);
    w->storeRow(7, 99, {{"QTDADJUD", 4.0}});
    w->storeLine(7, 0, 1);
    w->storeLine(7, 0, 2);
    w->storeLine(7, 1, 1);
    w->storeRow(8, 0);
    w->storeLine(8, 0, 1);
    QStringList status;
    const auto number = w->header().copy(130, 7, 1, kWorkingDay, [&](const QString& s) { status << s; });
    ASSERT_EQ(number, 130);
    EXPECT_EQ(w->rowsOf(130), 3);
    EXPECT_EQ(w->linesOf(130), 3);
    EXPECT_EQ(w->counter(1), 130);
    const QuoteRow r = *w->row(130, 0);
    EXPECT_EQ(r.value("DATEMI").toDateTime().date(), kWorkingDay);
    EXPECT_EQ(r.text("NOME"), "Cliente 0");
    EXPECT_EQ(r.text("UNIDADE"), "M"); // the copied quantities are in thousands
    EXPECT_EQ(r.number("VALORCLI1"), 10.1235);
    EXPECT_EQ(r.number("VALMO1"), 2.0);
    EXPECT_EQ(r.text("PRINTE"), "N");
    EXPECT_EQ(r.text("APROVADO"), "N");
    EXPECT_EQ(r.number("PLNCOMPRIM2"), 0.0);
    for (const char* empty : {"MARGEMLIQ1", "ENCNRO", "MANUAL_AUTO", "NPLANOS1", "ORCBASE"})
        EXPECT_TRUE(r.isNull(empty)) << empty;
    EXPECT_EQ(w->row(130, 99)->number("QTDADJUD"), 0.0);
    const auto line = w->db->query("SELECT DESIGN, VALQTD1, TMPACERTO, TMPPREV FROM ORCDET "
                                   "WHERE CODIGO = 130 AND SUBCODIGO = 0 AND DETAIL = 2");
    ASSERT_EQ(line.rows.size(), 1u);
    EXPECT_EQ(line.value(0, "VALQTD1").toDouble(), 12.25);
    EXPECT_TRUE(line.value(0, "TMPACERTO").isNull());
    EXPECT_TRUE(line.value(0, "TMPPREV").isNull());
    EXPECT_EQ(w->linesOf(7), 3); // the base is untouched
    ASSERT_GE(status.size(), 7);
    EXPECT_EQ(status[0], QStringLiteral("GERAÇÃO DE ORÇAMENTO EM CURSO !!!"));
    EXPECT_EQ(status[1], QStringLiteral("MASTER - Orçamento nº : 130 0"));
    EXPECT_EQ(status[4], QStringLiteral("DETAIL - Orçamento nº : 130 0 Impressão"));
}

TEST_P(QuoteHeaderTest, copyOfAMissingBaseWritesNothing)
{
    EXPECT_FALSE(w->header().copy(130, 55, 1, kWorkingDay));
    EXPECT_EQ(w->messages.errors, QStringList{"Orçamento Base Inexistente !!!"});
    EXPECT_EQ(w->rowsOf(130), 0);
    EXPECT_EQ(w->counter(1), 120);
}

TEST_P(QuoteHeaderTest, copyRefusedMidwayLeavesNoPartOfTheNewQuote)
{
    w->storeRow(7, 0);
    w->storeRow(7, 1);
    w->storeLine(7, 0, 1);
    auto failing = [](const QString& s) {
        if (s.startsWith("DETAIL"))
            throw std::runtime_error("disco cheio");
    };
    EXPECT_THROW(w->header().copy(130, 7, 1, kWorkingDay, failing), std::runtime_error);
    EXPECT_EQ(w->rowsOf(130), 0);
    EXPECT_EQ(w->linesOf(130), 0);
    EXPECT_EQ(w->counter(1), 120);
}

TEST_P(QuoteHeaderTest, copyOntoATakenNumberTakesTheNextFreeOne)
{
    w->storeRow(7, 0);
    w->storeRow(121, 0, {{"NOME", "Outro"}});
    w->storeRow(122, 0, {{"NOME", "Fora da série"}});
    const auto number = w->header().copy(121, 7, 1, kWorkingDay);
    EXPECT_EQ(number, 123);
    EXPECT_EQ(w->messages.notices, QStringList{"Nº de Orçamento já utilizado !!! O orçamento fica com o nº 123"});
    EXPECT_EQ(w->row(121, 0)->text("NOME"), "Outro");
    EXPECT_EQ(w->counter(1), 123);
}

TEST_P(QuoteHeaderTest, twoWorkstationsCopyingUnderOneProposalGetTwoNumbers)
{
    w->storeRow(7, 0);
    auto other = w->m_database->openAnother();
    CollectingMessages otherMessages;
    const int proposal = *w->header().proposedNumber(1);
    ASSERT_EQ(*QuoteHeader(*other, otherMessages).proposedNumber(1), proposal);
    EXPECT_EQ(w->header().copy(proposal, 7, 1, kWorkingDay), proposal);
    EXPECT_EQ(QuoteHeader(*other, otherMessages).copy(proposal, 7, 1, kWorkingDay), proposal + 1);
    EXPECT_EQ(w->rowsOf(proposal), 1);
    EXPECT_EQ(w->rowsOf(proposal + 1), 1);
    EXPECT_EQ(w->counter(1), proposal + 1);
}

struct SaveCase {
    const char* label;
    int number;
    long long counterAfter;
};

class QuoteHeaderSave : public ::testing::TestWithParam<std::tuple<SaveCase, Dialect>> {};

TEST_P(QuoteHeaderSave, raisesTheCounterNeverLowersIt)
{
    const SaveCase& c = std::get<0>(GetParam());
    HeaderWorld w(std::get<1>(GetParam()));
    if (!w.available())
        GTEST_SKIP() << "PostgreSQL de teste indisponível (KV_TEST_PG_HOST)";
    EXPECT_TRUE(w.header().save(c.number, 1));
    EXPECT_EQ(w.counter(1), c.counterAfter);
    EXPECT_EQ(w.counter(2), 500);
}

const SaveCase kSaves[] = {{"below", 90, 120}, {"equal", 120, 120}, {"above", 135, 135}};
INSTANTIATE_TEST_SUITE_P(Cases, QuoteHeaderSave,
                         ::testing::Combine(::testing::ValuesIn(kSaves), ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<SaveCase>);

TEST_P(QuoteHeaderTest, saveWithoutParametersSaysSo)
{
    w->db->exec("DELETE FROM ORCPARGER");
    EXPECT_FALSE(w->header().save(130, 1));
    EXPECT_EQ(w->messages.errors, QStringList{"PARÂMETROS GERAIS NÃO ESTÃO DEFINIDOS !!!"});
}

TEST_P(QuoteHeaderTest, deletionRemovesTheWholeQuoteOnly)
{
    for (int s : {0, 1, 99})
        w->storeRow(7, s);
    w->storeLine(7, 0, 1);
    w->storeLine(7, 1, 1);
    w->storeRow(8, 0);
    w->storeLine(8, 0, 1);
    EXPECT_TRUE(w->header().remove(7));
    EXPECT_EQ(w->rowsOf(7), 0);
    EXPECT_EQ(w->linesOf(7), 0);
    EXPECT_EQ(w->rowsOf(8), 1);
    EXPECT_EQ(w->linesOf(8), 1);
    EXPECT_EQ(w->counter(1), 120);
}

struct DeletionCase {
    const char* label;
    QVariantMap summary;
};

class QuoteHeaderDeletionRefused : public ::testing::TestWithParam<std::tuple<DeletionCase, Dialect>> {};

TEST_P(QuoteHeaderDeletionRefused, keepsEveryRow)
{
    HeaderWorld w(std::get<1>(GetParam()));
    if (!w.available())
        GTEST_SKIP() << "PostgreSQL de teste indisponível (KV_TEST_PG_HOST)";
    w.storeRow(7, 0);
    w.storeRow(7, 99, std::get<0>(GetParam()).summary);
    w.storeLine(7, 0, 1);
    EXPECT_FALSE(w.header().remove(7));
    EXPECT_EQ(w.messages.errors, QStringList{"Orçamento já foi aprovado !!Não pode eliminar! 7"});
    EXPECT_EQ(w.rowsOf(7), 2);
    EXPECT_EQ(w.linesOf(7), 1);
}

const DeletionCase kRefusedDeletions[] = {{"approved", {{"APROVADO", "S"}}}, {"withOrder", {{"ENCNRO", 31}}}};
INSTANTIATE_TEST_SUITE_P(Cases, QuoteHeaderDeletionRefused,
                         ::testing::Combine(::testing::ValuesIn(kRefusedDeletions),
                                            ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<DeletionCase>);

KV_ENGINE_SUITE(QuoteHeaderTest);

} // namespace
