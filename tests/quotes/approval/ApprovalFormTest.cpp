// The approval form driven as a user would: its opening, the earlier orders
// of the article, the field checks, the margin, the delivery chain and
// "Canc", the hand-over to scripted article and customer forms, and a whole
// approval confirmed.
#include "quotes/approval/ApprovalFixture.h"

#include "quotes/approval/forms/TORCF032A.h"

#include "support/TableRows.h"

#include <QDialog>
#include <gtest/gtest.h>

using namespace kv::quotes::approval;
using kv::quotes::approval::test::ApprovalFixture;
using kv::test::Engine;
using kv::test::FormDriver;

namespace {

const QString Beep = QStringLiteral("<beep>");

struct ApprovalForm : ApprovalFixture {
    explicit ApprovalForm(Engine engine) : ApprovalFixture(engine) { session.twoDatabaseKinds().add(approvalKind()); }
    ~ApprovalForm() { scenario.forms().clear(); }

    FormDriver open()
    {
        form = new TORCF032A(session, scenario.forms(), ApprovalContext::read(application(), Quote, 2));
        FormDriver driver = scenario.show(form);
        scenario.settle();
        return driver;
    }

    // A stand-in for the article or customer form: a dialog whose handler
    // plays the user's part.
    void scripted(const char* className, std::function<void()> user)
    {
        scenario.forms().add(QString::fromLatin1(className), [](QWidget* parent) -> QDialog* {
            auto* dialog = new QDialog(parent);
            dialog->setObjectName(QStringLiteral("Scripted"));
            return dialog;
        });
        scenario.onDialog([user](FormDriver& dialog) {
            user();
            dialog.close();
        });
    }

    // The approved quantity and price typed and the price left.
    void approveAt(FormDriver& d, const QString& quantity, const QString& price)
    {
        d.type("Edit_QtdAdjud", quantity);
        d.type("Edit_PrecoAdjud", price);
        d.focus("Edit_Serie");
        scenario.settle();
    }

    void orderOn(FormDriver& d, const QString& date)
    {
        d.type("Edit_DatEnc", date);
        d.focus("Edit_PrzEnt1");
        scenario.settle();
    }

    QPointer<TORCF032A> form;
};

class ApprovalFormTest : public ::testing::TestWithParam<Engine> {};

TEST_P(ApprovalFormTest, OpensOnTheQuoteWithTheFirstSeriesProposal)
{
    KV_SKIP_WITHOUT(GetParam());
    ApprovalForm f(GetParam());
    FormDriver d = f.open();
    EXPECT_EQ(d.caption(), "Aprovação de Orçamentos");
    EXPECT_EQ(d.text("LabelOrcNro"), "700");
    EXPECT_EQ(d.text("LabelCliNro"), "10");
    EXPECT_EQ(d.text("LabelCliNome"), "Quinta Nova, Lda");
    EXPECT_EQ(d.text("LabelArtNro"), "ART-1");
    EXPECT_EQ(d.text("Label_Qtd1"), "12,00");
    EXPECT_EQ(d.text("Edit_Reaprova"), "N");
    EXPECT_FALSE(d.isVisible("LabelEncome"));
    EXPECT_EQ(d.text("Edit_Serie"), "1");
    EXPECT_EQ(d.text("Edit_EncNro"), "11");
    EXPECT_EQ(d.focused(), "Edit_Morada1");
    EXPECT_EQ(d.statusPanel(1), f.session.state().WMarca);
}

TEST_P(ApprovalFormTest, EarlierOrdersProposeTheLatestPrice)
{
    KV_SKIP_WITHOUT(GetParam());
    ApprovalForm f(GetParam());
    kv::test::insertRows(f.invoicing(), "ENCCLIDET",
                         {"ENCNRO", "DETAIL", "ANO", "SEMANA", "CLINRO", "ARTIGO", "PRECOVENDA", "QUANTID", "ORCNRO"},
                         {{3, 1, "2024", "02", 10, "ART-1", 145.0, 10.0, 650},
                          {2, 1, "2023", "40", 10, "ART-1", 140.0, 8.0, 640},
                          {4, 1, "2024", "03", 11, "ART-1", 99.0, 1.0, 0}});
    FormDriver d = f.open();
    EXPECT_EQ(d.text("Edit_Reaprova"), "S");
    EXPECT_EQ(d.text("Edit_PrecoAdjud"), "145");
    EXPECT_TRUE(d.isVisible("LabelEncome"));
    EXPECT_EQ(d.gridRowCount("DBGrid1"), 2);
    EXPECT_EQ(d.gridCurrentRow("DBGrid1"), 1);
}

TEST_P(ApprovalFormTest, FieldChecksKeepTheFocus)
{
    KV_SKIP_WITHOUT(GetParam());
    struct Case {
        const char* field;
        const char* typed;
        const char* message;
    };
    const Case cases[] = {{"Edit_Reaprova", "X", "Digite <S> ou <N> !!"},
                          {"Edit_Reaprova", "s", "Digite <S> ou <N> !!"},
                          {"Edit_QtdAdjud", "", "É obrigatório inserir a Qtd. aprovada ..."},
                          {"Edit_QtdAdjud", "-3", "É obrigatório inserir a Qtd. aprovada ..."},
                          {"Edit_PrecoAdjud", "0", "Insira o preço por Favor ..."},
                          {"Edit_Serie", "8", "ESCOLHA A SÉRIE DE NUMERAÇÃO DE [1] A [5]"},
                          {"Edit_DatEnc", "", "Data Inválida !!!"}};
    ApprovalForm f(GetParam());
    FormDriver d = f.open();
    d.type("Edit_QtdAdjud", "12");
    for (const Case& c : cases) {
        f.scenario.messages().clear();
        d.type(c.field, QString::fromUtf8(c.typed));
        d.focus("Edit_VosEnc");
        f.scenario.settle();
        EXPECT_EQ(f.scenario.messages().transcript(), (QStringList{Beep, QString::fromUtf8(c.message)})) << c.field;
        EXPECT_EQ(d.focused(), c.field) << c.field;
        d.type(c.field, c.field == std::string("Edit_Reaprova") ? "N" : "1");
    }
}

TEST_P(ApprovalFormTest, LeavingThePriceShowsTheMargin)
{
    KV_SKIP_WITHOUT(GetParam());
    ApprovalForm f(GetParam());
    FormDriver d = f.open();
    f.approveAt(d, "12", "150");
    EXPECT_EQ(d.text("Label_MargemFinal"), "65,9");
    EXPECT_EQ(d.focused(), "Edit_Serie");
    EXPECT_DOUBLE_EQ(f.session.state().WPrecoAdjud, 150);
    EXPECT_TRUE(f.scenario.messages().texts().isEmpty());
}

TEST_P(ApprovalFormTest, TheOrderDateChecksCalendarAndNumber)
{
    KV_SKIP_WITHOUT(GetParam());
    ApprovalForm f(GetParam());
    FormDriver d = f.open();
    f.approveAt(d, "12", "150");
    d.type("Edit_DatEnc", "16/03/2024");
    d.focus("Edit_PrzEnt1");
    f.scenario.settle();
    EXPECT_EQ(d.statusPanel(0), "O Dia seleccionado não é um dia ÚTIL");
    EXPECT_EQ(d.focused(), "Edit_DatEnc");

    f.invoicing().exec("INSERT INTO ENCCLIMAS (ENCNRO) VALUES (11)");
    f.scenario.messages().clear();
    f.orderOn(d, "15/03/2024");
    EXPECT_EQ(f.scenario.messages().transcript(), (QStringList{Beep, "ESTA ENCOMENDA JÁ EXISTE !!!"}));
    EXPECT_EQ(d.focused(), "Edit_Serie");

    d.type("Edit_EncNro", "12");
    f.orderOn(d, "15/03/2024");
    EXPECT_EQ(d.text("Edit_PrzEnt1"), "15/03/2024");
    EXPECT_EQ(d.text("Edit_QtdEnc1"), "12");
}

TEST_P(ApprovalFormTest, DeliveriesChainAndCancelClearsThem)
{
    KV_SKIP_WITHOUT(GetParam());
    ApprovalForm f(GetParam());
    FormDriver d = f.open();
    f.approveAt(d, "1000", "0,5");
    f.orderOn(d, "15/03/2024");
    d.type("Edit_QtdEnc1", "600");
    d.focus("Edit_PrzEnt2");
    f.scenario.settle();
    EXPECT_EQ(d.text("Edit_QtdEnc2"), "400");
    d.type("Edit_PrzEnt2", "22/03/2024");
    d.type("Edit_QtdEnc2", "400");
    d.focus("Edit_PrzEnt3");
    f.scenario.settle();
    EXPECT_EQ(d.focused(), "Edit_PrzEnt2"); // all spread: back to the date of the last delivery
    d.focus("Edit_QtdEnc4"); // the later deliveries are passed empty
    d.focus("Edit_PrzEnt5");
    d.focus("Edit_QtdEnc3");
    f.scenario.settle();
    EXPECT_TRUE(f.scenario.messages().texts().isEmpty()) << f.scenario.messages().texts().join("; ").toStdString();

    f.scenario.messages().clear();
    d.type("Edit_QtdEnc2", "500");
    d.focus("Edit_PrzEnt3");
    f.scenario.settle();
    EXPECT_EQ(f.scenario.messages().transcript(),
              (QStringList{Beep, "NÃO PODE INSERIR UMA QTD.SUPERIOR À APROVADA!!!"}));

    f.scenario.messages().clear();
    d.click("BotCancelar");
    f.scenario.settle();
    EXPECT_TRUE(f.scenario.messages().texts().isEmpty());
    for (const char* field : {"Edit_QtdEnc1", "Edit_QtdEnc2"})
        EXPECT_EQ(d.text(field), "") << field;
    EXPECT_EQ(d.text("Edit_PrzEnt1"), "//"); // the mask's separators alone
    EXPECT_EQ(d.focused(), "Edit_QtdAdjud");
}

TEST_P(ApprovalFormTest, ConfirmWritesTheOrderAndHandsTheOutcomeBack)
{
    KV_SKIP_WITHOUT(GetParam());
    ApprovalForm f(GetParam());
    FormDriver d = f.open();
    d.type("Edit_Morada1", "Armazém 3");
    d.type("Edit_CodPostal", "4470-000");
    d.focus("Edit_Reaprova");
    f.scenario.settle();
    EXPECT_EQ(d.text("Edit_LDLocalidade"), "MAIA");
    f.approveAt(d, "12", "150");
    d.type("Edit_VosEnc", "PED-77");
    f.orderOn(d, "15/03/2024");
    d.click("BotGravar");
    f.scenario.settle();
    EXPECT_TRUE(f.scenario.messages().texts().isEmpty()) << f.scenario.messages().texts().join("; ").toStdString();
    ASSERT_TRUE(f.form);
    EXPECT_FALSE(f.form->isVisible());
    EXPECT_TRUE(f.form->outcome().approved);
    EXPECT_EQ(f.form->outcome().orderNumber, 11);
    EXPECT_DOUBLE_EQ(f.form->outcome().marginPercent, 65.87);
    const auto order = f.rows(f.invoicing(), "SELECT VALMERC, DESC_MORADA1, DESC_LOCALIDADE, VOSENC FROM ENCCLIMAS");
    ASSERT_EQ(order.rows.size(), 1u);
    EXPECT_DOUBLE_EQ(order.value(0, "VALMERC").toDouble(), 1800);
    EXPECT_EQ(order.value(0, "DESC_MORADA1").toString(), "Armazém 3");
    EXPECT_EQ(order.value(0, "DESC_LOCALIDADE").toString(), "MAIA");
    EXPECT_EQ(order.value(0, "VOSENC").toString(), "PED-77");
    EXPECT_EQ(f.application().scalar("SELECT APROVADO FROM ORCMAS WHERE CODIGO = 700 AND SUBCODIGO = 99").toString(),
              "S");
}

struct HandOverCase {
    const char* label;
    bool article; // the quote lacks its article
    bool customer; // the quote lacks its customer
    bool registered; // the stand-in forms are there
    bool coded; // the stand-ins code what is missing
    QString message; // empty: approved
};

class ApprovalHandOverTest : public ::testing::TestWithParam<std::tuple<HandOverCase, Engine>> {};

TEST_P(ApprovalHandOverTest, ArticleAndCustomerFormsCodeWhatTheQuoteLacks)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    ApprovalForm f(engine);
    if (c.article)
        f.application().exec("UPDATE ORCMAS SET NOSREF = '' WHERE CODIGO = 700");
    if (c.customer)
        f.application().exec("UPDATE ORCMAS SET CLINRO = 0 WHERE CODIGO = 700");
    kv::shell::LoginState& state = f.session.state();
    if (c.registered) {
        if (c.article)
            f.scripted("TORCF032ART", [&state, coded = c.coded] {
                EXPECT_DOUBLE_EQ(state.WPrecoAdjud, 150); // the article form's default price
                if (coded)
                    state.WNosRefAprov = QStringLiteral("ART-1");
            });
        if (c.customer)
            f.scripted("Torcf032cli", [&state, coded = c.coded] {
                if (coded)
                    state.WCliNroAprov = 10;
            });
    }
    FormDriver d = f.open();
    f.approveAt(d, "12", "150");
    f.orderOn(d, "15/03/2024");
    d.click("BotGravar");
    f.scenario.settle();
    EXPECT_EQ(f.scenario.pendingDialogHandlers(), 0);
    ASSERT_TRUE(f.form);
    EXPECT_FALSE(f.form->isVisible());
    if (c.message.isEmpty()) {
        EXPECT_TRUE(f.form->outcome().approved) << f.scenario.messages().texts().join("; ").toStdString();
        const auto quote =
            f.rows(f.application(), "SELECT NOSREF, CLINRO FROM ORCMAS WHERE CODIGO = 700 ORDER BY SUBCODIGO");
        for (std::size_t r = 0; r < quote.rows.size(); ++r) {
            EXPECT_EQ(quote.value(r, "NOSREF").toString(), "ART-1");
            EXPECT_EQ(quote.value(r, "CLINRO").toInt(), 10);
        }
        EXPECT_EQ(f.count(f.invoicing(), "SELECT COUNT(*) FROM ENCCLIDET WHERE ARTIGO = 'ART-1' AND CLINRO = 10"), 1);
    } else {
        EXPECT_FALSE(f.form->outcome().approved);
        EXPECT_EQ(f.scenario.messages().transcript(), (QStringList{Beep, c.message}));
        EXPECT_EQ(f.count(f.invoicing(), "SELECT COUNT(*) FROM ENCCLIMAS"), 0);
        EXPECT_EQ(f.count(f.application(), "SELECT COUNT(*) FROM ORCMAS WHERE APROVADO = 'S'"), 0);
    }
}

const QString NoArticle = QStringLiteral("Aprovação de Orçamento não viável p/falta de codificação de Artigo!!!");
const QString NoCustomer = QStringLiteral("Aprovação de Orçamento não viável p/falta de codificação de Cliente!!!");

const HandOverCase handOvers[] = {
    {"article_coded", true, false, true, true, {}},
    {"customer_coded", false, true, true, true, {}},
    {"both_coded", true, true, true, true, {}},
    {"article_form_closed_without_code", true, false, true, false, NoArticle},
    {"customer_form_closed_without_code", false, true, true, false, NoCustomer},
    {"article_form_not_registered", true, false, false, false, NoArticle},
    {"customer_form_not_registered", false, true, false, false, NoCustomer},
};

INSTANTIATE_TEST_SUITE_P(Approval, ApprovalHandOverTest,
                         ::testing::Combine(::testing::ValuesIn(handOvers), ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<HandOverCase>);

TEST_P(ApprovalFormTest, WithoutOrderCountersTheFormCloses)
{
    KV_SKIP_WITHOUT(GetParam());
    ApprovalForm f(GetParam());
    f.invoicing().exec("DELETE FROM ENCPARGER");
    f.open();
    f.scenario.settle();
    EXPECT_EQ(f.scenario.messages().transcript(),
              (QStringList{Beep, "NÃO ESTÃO DEFINIDOS PARÂMETROS GERAIS DE ENCOMENDAS"}));
    ASSERT_TRUE(f.form);
    EXPECT_FALSE(f.form->isVisible());
}

KV_ENGINE_SUITE(ApprovalFormTest);

} // namespace
