#include "shell/MainMenu.h"

#include <QHash>

namespace kv::shell {
namespace {

MenuFunction fn(const char* item, const char* caption, const char* button = "",
                const char* page = "", const char* hint = "", bool separatorAfter = false)
{
    return MenuFunction{QString::fromLatin1(item), QString::fromUtf8(caption),
                        QString::fromLatin1(button), QString::fromUtf8(page),
                        QString::fromUtf8(hint), separatorAfter};
}

constexpr const char* Tabelas = "Tabelas";
constexpr const char* Orcamentos = "Orçamentos";
constexpr const char* Planeamento = "Planeamento";
constexpr const char* Stock = "Gestão Stock Materiais";

std::vector<MainMenu::Menu> buildMenus()
{
    std::vector<MainMenu::Menu> menus(4);
    menus[0].title = QStringLiteral("&A - Geral");
    menus[0].functions = {fn("GERALPDF", "&C -Informação s/ últimas alterações", "", "", "", true),
                          fn("GERALSAIR", "&C - Sair")};

    menus[1].title = QStringLiteral("&B - Tabelas");
    menus[1].functions = {
        fn("TABORC000", "&A - Parâmetros Gerais", "", "", "", true),
        fn("TABORC001", "&B - Micro; Canal B; Placa; Cartolinas", "BotPapeis", Tabelas,
           "Micro; Canal B; Placa; Cartolinas"),
        fn("TABORC002", "&C - Tintas", "BotTintas", Tabelas, "Tintas"),
        fn("TABORC003", "&D - Vernizes", "BotVernizes", Tabelas, "Vernizes"),
        fn("TABORC004", "&E - Colas", "BotColas", Tabelas, "Colas"),
        fn("TABORC005", "&F -  Filme de Plasticizar", "BotFilme", Tabelas, "Filme de Plasticizar"),
        fn("TABORC006", "&G - P.V.C. ( Janelas )", "BotPVC", Tabelas, "P.V.C. ( Janelas )"),
        fn("TABORC007", "&H - Acabamentos", "BotAcabamentos", Tabelas, "Acabamentos"),
        fn("TABORC008", "&I - Operações de Corte", "BotOperCorte", Tabelas, "Operações de Corte"),
        fn("TABORC009", "&J - Máquinas", "BotMaquinas", Tabelas, "Máquinas"),
        fn("TABORC010", "&K - Tiragem Líquida", "BotTiragemLiq", Tabelas, "Tiragem Líquida"),
        fn("TABORC011", "&L - Custos de Transporte", "BotCustosTransp", Tabelas, "Custos de Transporte"),
        fn("TABORC012", "&M - Custos Fixos", "BotCustosFixos", Tabelas, "Custos Fixos"),
        fn("TABORC016", "&N- Subcontratos", "BotSubCont", Tabelas, "Subcontratos"),
        fn("TABORC013", "&O - Procedimentos", "BotProcedim", Tabelas, "Procedimentos"),
        fn("TABORC014", "&P - Parametrização de Procedimentos", "BotParProcedim", Tabelas,
           "Parametrização de Procedimentos", true),
        fn("TABORC015", "&Q - Artigo / Mat.Prima p/ Cliente")};

    menus[2].title = QStringLiteral("&C - Orçamentos");
    menus[2].functions = {
        fn("ORC001", "&A - Elaboração de Orçamentos", "BotOrcam", Orcamentos,
           "Elaboração de Orçamentos", true),
        fn("ORC002", "&B - Emissão Orçamento Cliente"),
        fn("ORC003", "&C - Consulta de Orçamentos", "BotConsOrc", Orcamentos,
           "Consulta de Orçamentos", true),
        fn("ORC004", "&D - Aprovação de Orçamentos", "BotAprova", Orcamentos,
           "Aprovação de Orçamentos")};

    menus[3].title = QStringLiteral("&D - Planeamento");
    menus[3].functions = {
        fn("PLANO001", "&A -Geração Ordens de Fabrico", "BotGeraOf", Planeamento, "Geração de O.F."),
        fn("PLANO002", "&B - Consulta Ordens de Fabrico", "BotConsOf", Planeamento,
           "Consulta de O.Fabrico"),
        fn("PLANO003", "&C - Emissão Ordens de Fabrico", "", "", "", true),
        fn("PLANO006", "&D - Fecho Ord.Fabrico", "BotFecho", Planeamento,
           "Fecho de Ordem de Fabrico", true),
        fn("PLANO004", "&E - Mapa de Previsão de Consumos", "", "", "", true),
        fn("PLANO005", "&F - Cálculo de Necessidades", "", "", "", true)};
    menus[3].submenu = QStringLiteral("&G - Gestão do Stock de Materiais");
    menus[3].submenuFunctions = {
        fn("PLANO009", "&1 - Necessidades para Fabrico", "BotCalc", Stock, ""),
        fn("PLANO010", "&2 - Fecho de O.F. ( registo de consumos )", "BotFechoOf", Stock,
           "Fecho de O.F. ( registo de consumos )")};
    menus[3].separatorAfterSubmenu = true;
    menus[3].afterSubmenu = {fn("PLANO008", "&H - Mapa de Existências por Cliente")};
    return menus;
}

// Entries whose form and reports do not depend on the login.
const QHash<QString, FormOpening>& fixedOpenings()
{
    static const QHash<QString, FormOpening> openings = [] {
        QHash<QString, FormOpening> o;
        auto add = [&o](const char* item, const char* form, QStringList reports = {},
                        QStringList freeOrder = {}) {
            o.insert(QString::fromLatin1(item),
                     FormOpening{QString::fromLatin1(form), reports,
                                 freeOrder.isEmpty() ? reports : freeOrder});
        };
        add("TABORC000", "TORCF000");
        const char* const tables[][3] = {
            {"TABORC001", "TORCF001", "TORCFPR001"}, {"TABORC002", "TORCF002", "TORCFPR002"},
            {"TABORC003", "TORCF003", "TORCFPR003"}, {"TABORC004", "TORCF004", "TORCFPR004"},
            {"TABORC005", "TORCF005", "TORCFPR005"}, {"TABORC006", "TORCF006", "TORCFPR006"},
            {"TABORC007", "TORCF007", "TORCFPR007"}, {"TABORC008", "TORCF008", "TORCFPR008"},
            {"TABORC009", "TORCF009", "TORCFPR009"}, {"TABORC010", "TORCF010", "TORCFPR010"},
            {"TABORC011", "TORCF011", "TORCFPR011"}, {"TABORC012", "TORCF012", "TORCFPR012"},
            {"TABORC016", "TORCF016", "TORCFPR016"}, {"TABORC013", "TORCF013", "TORCFPR013"},
            {"TABORC014", "TORCF014", "TORCFPR014"}, {"TABORC015", "TORCF015", "TORCFPR015"}};
        for (const auto& t : tables)
            add(t[0], t[1], {QString::fromLatin1(t[2])});
        add("ORC001", "TORCF021", {"TORCFPR021micro", "TORCFPR021Amicro", "TORCFPR021Bmicro"});
        add("ORC003", "TORCF031",
            {"TORCFPR031A", "TORCFPR031micro", "TORCFPR031Amicro", "TORCFPR031Bmicro"});
        add("ORC004", "TORCF032",
            {"TORCFPR032ENC_ZADOV", "TORCFPR032micro", "TORCFPR032Amicro", "TORCFPR032Bmicro"},
            {"TORCFPR032micro", "TORCFPR032Amicro", "TORCFPR032Bmicro", "TORCFPR032ENC_ZADOV"});
        add("PLANO001", "TORCF100");
        add("PLANO006", "TORCF107");
        add("PLANO004", "TORCF104", {"TORCFPR104"});
        add("PLANO005", "TORCF040", {"TORCFPR040REQ", "TORCFPR040REQMedidas"});
        add("PLANO009", "TORCF041", {"TORCFPR041", "TORCFPR041MICRO"},
            {"TORCFPR041MICRO", "TORCFPR041"});
        add("PLANO010", "TORCF108");
        add("PLANO008", "TORCF110", {"TORCFPR110"});
        return o;
    }();
    return openings;
}

FormOpening with(const char* form, QStringList reports = {})
{
    return FormOpening{QString::fromLatin1(form), reports, reports};
}

} // namespace

const std::vector<MainMenu::Menu>& MainMenu::menus()
{
    static const std::vector<Menu> menus = buildMenus();
    return menus;
}

const QStringList& MainMenu::pages()
{
    static const QStringList pages{QString::fromUtf8(Tabelas), QString::fromUtf8(Orcamentos),
                                   QString::fromUtf8(Planeamento), QString::fromUtf8(Stock)};
    return pages;
}

FormOpening MainMenu::opening(const QString& item, const LoginState& state)
{
    if (item == QLatin1String("ORC002")) {
        static const QHash<QString, const char*> letters{
            {"1", "TORCFPR022QUAL"}, {"M", "TORCFPR022MICRO"}, {"T", "TORCFPR022CONT"}};
        const char* letter = letters.value(state.WTipoOrcam);
        return letter ? with("TORCF022", {QString::fromLatin1(letter)}) : with("TORCF022");
    }
    if (item == QLatin1String("PLANO002"))
        return with(state.productionModelT() ? "TORCF105" : "TORCF101");
    if (item == QLatin1String("PLANO003")) {
        if (state.productionModelT())
            return with("TORCF106", {"TORCFPR106CONT"});
        if (state.WTipoOrdFab == QLatin1String("M"))
            return with("TORCF102", {"TORCFPR102MICRO", "TORCFPR102CORTE", "TORCFPR102REGISTO",
                                     "TORCFPR102ETIQ"});
        return with("TORCF102");
    }
    return fixedOpenings().value(item);
}

} // namespace kv::shell
