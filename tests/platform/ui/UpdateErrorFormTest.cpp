// The update-error dialog on a real apply that the database refuses: each
// kind of change, each answer, and the close box.
#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "support/Scenario.h"
#include "platform/ui/TUpdateErrorForm.h"

#include <QTableWidget>

#include <gtest/gtest.h>

using kv::db::Dataset;
using kv::db::DatasetMode;
using kv::db::UpdateKind;
using kv::test::FormDriver;
using kv::test::Scenario;
using kv::ui::TUpdateErrorForm;

namespace {

enum class Answer { Retry, Skip, Abort, CloseBox };
void PrintTo(Answer a, std::ostream* os)
{
    static const char* names[] = {"Retry", "Skip", "Abort", "CloseBox"};
    *os << names[static_cast<int>(a)];
}

struct Shown {
    QString caption;
    QString kind;
    QString message;
    QStringList newValues;
    QStringList oldValues;
    int rows = 0;
};

struct Fixture {
    Scenario scenario;
    std::shared_ptr<kv::db::Connection> db = scenario.emptyDatabase();
    TUpdateErrorForm* errorForm = new TUpdateErrorForm;
    std::unique_ptr<Dataset> tintas;
    std::vector<Shown> shown;

    Fixture()
    {
        db->exec(QStringLiteral("CREATE TABLE TINTAS (CODIGO SMALLINT PRIMARY KEY, DESIGNACAO VARCHAR(40), "
                                "PRECO DOUBLE PRECISION CHECK (PRECO >= 0))"));
        db->exec(QStringLiteral("INSERT INTO TINTAS VALUES (10, 'Tinta Azul', 1), (20, 'Tinta Branca', 12.25), "
                                "(30, 'Tinta Cyan', 3), (40, 'Verniz', 12.25)"));
        if (db->dialect() == kv::db::Dialect::Sqlite) {
            db->exec(QStringLiteral("CREATE TRIGGER PROTEGE BEFORE DELETE ON TINTAS WHEN OLD.CODIGO = 40 "
                                    "BEGIN SELECT RAISE(ABORT, 'Registo protegido'); END"));
        } else {
            db->exec(QStringLiteral("CREATE FUNCTION PROTEGE() RETURNS TRIGGER AS $$ BEGIN "
                                    "IF OLD.CODIGO = 40 THEN RAISE EXCEPTION 'Registo protegido'; END IF; "
                                    "RETURN OLD; END $$ LANGUAGE plpgsql"));
            db->exec(QStringLiteral("CREATE TRIGGER PROTEGE BEFORE DELETE ON TINTAS FOR EACH ROW "
                                    "EXECUTE FUNCTION PROTEGE()"));
        }
        tintas = std::make_unique<Dataset>(QStringLiteral("TINTAS"));
        tintas->setConnection(db);
        tintas->setSql(QStringLiteral("SELECT CODIGO, DESIGNACAO, PRECO FROM TINTAS ORDER BY CODIGO"));
        tintas->setMode(DatasetMode::Cached);
        tintas->setUpdateStatements(
            {QStringLiteral("INSERT INTO TINTAS (CODIGO, DESIGNACAO, PRECO) VALUES (:CODIGO, :DESIGNACAO, :PRECO)"),
             QStringLiteral("UPDATE TINTAS SET CODIGO = :CODIGO, DESIGNACAO = :DESIGNACAO, PRECO = :PRECO "
                            "WHERE CODIGO = :OLD_CODIGO"),
             QStringLiteral("DELETE FROM TINTAS WHERE CODIGO = :OLD_CODIGO")});
        tintas->addCalculatedField(QStringLiteral("TOTAL"), kv::db::FieldType::Float);
        tintas->setErrorHandler(errorForm->handler());
        tintas->open();
    }

    ~Fixture() { delete errorForm; }

    void answerWith(Answer answer)
    {
        scenario.onDialog([this, answer](FormDriver& dialog) {
            Shown s;
            s.caption = dialog.caption();
            s.kind = dialog.text(QStringLiteral("UpdateType"));
            s.message = dialog.text(QStringLiteral("ErrorText"));
            s.rows = dialog.gridRowCount(QStringLiteral("UpdateData"));
            for (int row = 0; row < s.rows; ++row) {
                s.newValues << dialog.gridCell(QStringLiteral("UpdateData"), row, 0);
                s.oldValues << dialog.gridCell(QStringLiteral("UpdateData"), row, 1);
            }
            shown.push_back(s);
            switch (answer) {
            case Answer::Retry: dialog.click(QStringLiteral("RetryButton")); break;
            case Answer::Skip: dialog.click(QStringLiteral("IgnoreButton")); break;
            case Answer::Abort: dialog.click(QStringLiteral("AbortButton")); break;
            case Answer::CloseBox: dialog.close(); break;
            }
        });
    }

    QString designacaoInDatabase(int codigo)
    {
        return db
            ->scalar(QStringLiteral("SELECT DESIGNACAO FROM TINTAS WHERE CODIGO = :C"), {{QStringLiteral("C"), codigo}})
            .toString();
    }
};

struct KindCase {
    const char* name;
    UpdateKind kind;
    const char* kindText;
    QStringList newValues;
    QStringList oldValues;
};
void PrintTo(const KindCase& c, std::ostream* os) { *os << c.name; }

// The refused change of each kind, made before a good change of row 30.
void makeRefusedChange(Dataset& tintas, UpdateKind kind)
{
    switch (kind) {
    case UpdateKind::Inserted:
        tintas.append();
        tintas.setValue(QStringLiteral("CODIGO"), 10);
        tintas.setValue(QStringLiteral("DESIGNACAO"), QStringLiteral("Duplicada"));
        tintas.setValue(QStringLiteral("PRECO"), 1.5);
        tintas.post();
        break;
    case UpdateKind::Modified:
        tintas.locate(QStringLiteral("CODIGO"), 20);
        tintas.edit();
        tintas.setValue(QStringLiteral("PRECO"), -1.0);
        tintas.post();
        break;
    case UpdateKind::Deleted:
        tintas.locate(QStringLiteral("CODIGO"), 40);
        tintas.deleteRecord();
        break;
    }
    tintas.locate(QStringLiteral("CODIGO"), 30);
    tintas.edit();
    tintas.setValue(QStringLiteral("DESIGNACAO"), QStringLiteral("Tinta Ciano"));
    tintas.post();
}

using Param = std::tuple<KindCase, Answer>;

std::string caseName(const ::testing::TestParamInfo<Param>& info)
{
    static const char* answers[] = {"Retry", "Skip", "Abort", "CloseBox"};
    return std::string(std::get<0>(info.param).name) + answers[static_cast<int>(std::get<1>(info.param))];
}

class HandleError : public ::testing::TestWithParam<Param> {};

TEST_P(HandleError, AnswersDecideWhatTheApplyDoes)
{
    const auto& [kind, answer] = GetParam();
    Fixture f;
    makeRefusedChange(*f.tintas, kind.kind);
    f.answerWith(answer);
    if (answer == Answer::Retry)
        f.answerWith(Answer::Skip); // the error is permanent: the dialog comes back

    bool threw = false;
    try {
        f.tintas->applyUpdates();
    } catch (const kv::db::DbError&) {
        threw = true;
    }

    ASSERT_EQ(f.shown.size(), answer == Answer::Retry ? 2u : 1u);
    for (const Shown& s : f.shown) {
        EXPECT_EQ(s.caption, "Erro de actualização no Servidor");
        EXPECT_EQ(s.kind, QString::fromUtf8(kind.kindText));
        EXPECT_FALSE(s.message.isEmpty());
        // Data fields only: the calculated TOTAL is left out.
        EXPECT_EQ(s.rows, 3);
        EXPECT_EQ(s.newValues, kind.newValues);
        EXPECT_EQ(s.oldValues, kind.oldValues);
    }
    if (kind.kind == UpdateKind::Deleted) {
        EXPECT_TRUE(f.shown[0].message.contains("Registo protegido"));
    }

    const bool aborted = answer == Answer::Abort || answer == Answer::CloseBox;
    EXPECT_EQ(threw, aborted);
    // The refused change stays pending either way; the good one is written
    // unless the apply was abandoned.
    EXPECT_TRUE(f.tintas->hasPendingChanges());
    EXPECT_EQ(f.designacaoInDatabase(30), aborted ? "Tinta Cyan" : "Tinta Ciano");
    EXPECT_EQ(f.designacaoInDatabase(40), "Verniz");
    EXPECT_DOUBLE_EQ(f.db->scalar(QStringLiteral("SELECT PRECO FROM TINTAS WHERE CODIGO = 20")).toDouble(), 12.25);
    EXPECT_EQ(f.designacaoInDatabase(10), "Tinta Azul");
}

INSTANTIATE_TEST_SUITE_P(
    KindsAndAnswers, HandleError,
    ::testing::Combine(
        ::testing::Values(
            KindCase{"Inserted", UpdateKind::Inserted, "Inserted", {"10", "Duplicada", "1,5"}, {"", "", ""}},
            KindCase{"Modified",
                     UpdateKind::Modified,
                     "Modified",
                     {"20", "Tinta Branca", "-1"},
                     {"20", "Tinta Branca", "12,25"}},
            KindCase{"Deleted", UpdateKind::Deleted, "Deleted", {"", "", ""}, {"40", "Verniz", "12,25"}}),
        ::testing::Values(Answer::Retry, Answer::Skip, Answer::Abort, Answer::CloseBox)),
    caseName);

TEST(UpdateErrorForm, RetryAppliesAgainAndSucceedsOnceTheCauseIsGone)
{
    Fixture f;
    makeRefusedChange(*f.tintas, UpdateKind::Deleted);
    f.scenario.onDialog([&](FormDriver& dialog) {
        // Someone lifts the protection while the dialog is open.
        f.db->exec(f.db->dialect() == kv::db::Dialect::Sqlite ? QStringLiteral("DROP TRIGGER PROTEGE")
                                                              : QStringLiteral("DROP TRIGGER PROTEGE ON TINTAS"));
        dialog.click(QStringLiteral("RetryButton"));
    });
    f.tintas->applyUpdates();
    EXPECT_FALSE(f.tintas->hasPendingChanges());
    EXPECT_TRUE(f.db->scalar(QStringLiteral("SELECT COUNT(*) FROM TINTAS WHERE CODIGO = 40")).toInt() == 0);
    EXPECT_EQ(f.designacaoInDatabase(30), "Tinta Ciano");
}

TEST(UpdateErrorForm, KindTexts)
{
    EXPECT_EQ(TUpdateErrorForm::updateKindText(UpdateKind::Modified), "Modified");
    EXPECT_EQ(TUpdateErrorForm::updateKindText(UpdateKind::Inserted), "Inserted");
    EXPECT_EQ(TUpdateErrorForm::updateKindText(UpdateKind::Deleted), "Deleted");
}

TEST(UpdateErrorForm, LayoutTextsAndAGridThatCannotBeEdited)
{
    Scenario scenario;
    auto* form = new TUpdateErrorForm;
    auto driver = scenario.show(form);
    EXPECT_EQ(driver.gridTitles(QStringLiteral("UpdateData")), QStringList({"New Value", "Old Value"}));
    EXPECT_EQ(driver.text(QStringLiteral("RetryButton")), "&Repetir");
    EXPECT_EQ(driver.text(QStringLiteral("IgnoreButton")), "&Ignorar");
    EXPECT_EQ(driver.text(QStringLiteral("AbortButton")), "&Abortar");
    EXPECT_EQ(driver.find<QTableWidget>(QStringLiteral("UpdateData"))->editTriggers(),
              QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(form->size(), QSize(387, 381));
}

} // namespace
