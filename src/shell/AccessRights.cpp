#include "shell/AccessRights.h"

namespace kv::shell {
namespace {

const QString Yes = QStringLiteral("S");
const QString No = QStringLiteral("N");

struct MenuEntry {
    const char* chapter;
    const char* program;
    const char* item;
    const char* button; // nullptr: the entry has no toolbar button
};

const MenuEntry MenuEntries[] = {
    {"Tabelas Orcamentos", "Parametros Gerais", "TABORC000", nullptr},
    {"Tabelas Orcamentos", "Micro; Canal B; Placa; Cartolinas", "TABORC001", "BotPapeis"},
    {"Tabelas Orcamentos", "Tintas", "TABORC002", "BotTintas"},
    {"Tabelas Orcamentos", "Vernizes", "TABORC003", "BotVernizes"},
    {"Tabelas Orcamentos", "Colas", "TABORC004", "BotColas"},
    {"Tabelas Orcamentos", "Filme de Plasticizar", "TABORC005", "BotFilme"},
    {"Tabelas Orcamentos", "PVC Janelas", "TABORC006", "BotPVC"},
    {"Tabelas Orcamentos", "Acabamentos", "TABORC007", "BotAcabamentos"},
    {"Tabelas Orcamentos", "Operacoes de Corte", "TABORC008", "BotOperCorte"},
    {"Tabelas Orcamentos", "Maquinas", "TABORC009", "BotMaquinas"},
    {"Tabelas Orcamentos", "Tiragem Liquida", "TABORC010", "BotTiragemLiq"},
    {"Tabelas Orcamentos", "Custos de Transporte", "TABORC011", "BotCustosTransp"},
    {"Tabelas Orcamentos", "Custos Fixos", "TABORC012", "BotCustosFixos"},
    {"Tabelas Orcamentos", "Procedimentos", "TABORC013", "BotProcedim"},
    {"Tabelas Orcamentos", "Parametrizacao de Procedimentos", "TABORC014", "BotParProcedim"},
    {"Tabelas Orcamentos", "Subcontratos", "TABORC016", "BotSubCont"},
    {"Orcamentos", "Elaboracao de Orcamentos", "ORC001", "BotOrcam"},
    {"Orcamentos", "Emissao Orc.Cliente", "ORC002", nullptr},
    {"Orcamentos", "Consulta de Orcamentos", "ORC003", "BotConsOrc"},
    {"Orcamentos", "Aprovacao de Orcamentos", "ORC004", "BotAprova"},
    {"Planeamento", "Geracao de Ordens de Fabrico", "PLANO001", "BotGeraOf"},
    {"Planeamento", "Consulta/Alteracao OF(s)", "PLANO002", "BotConsOf"},
    {"Planeamento", "Emissao Ordens de Fabrico", "PLANO003", nullptr},
    {"Planeamento", "Mapa de Consumos", "PLANO004", nullptr},
};

// The production closing entries: the "T" model closes through PLANO006, the
// others through the two entries of the materials submenu.
const char* const ClosingModelT[] = {"PLANO006", "BotFecho"};
const char* const ClosingOtherModels[] = {"PLANO009", "PLANO010", "BotCalc", "BotFechoOf"};

} // namespace

AccessRights::AccessRights(db::Dataset& rightsRows, LoginState& state) : m_rows(rightsRows), m_state(state) {}

Rights AccessRights::lookup(const QString& application, const QString& chapter, const QString& program)
{
    m_state.WCapitulo = chapter;
    Rights rights;
    if (!m_rows.isOpen())
        return rights;
    // Exact comparison: a locate without options respects letter case.
    rights.found = m_rows.locate({QStringLiteral("APLICACAO"), QStringLiteral("CAPITULO"), QStringLiteral("PROGRAMA"),
                                  QStringLiteral("UTIL"), QStringLiteral("EMPNRO")},
                                 {application, chapter, program, m_state.WUtil, m_state.WEmpNro});
    if (!rights.found)
        return rights;
    auto flag = [this](const char* column) { return m_rows.value(QString::fromLatin1(column)).toString(); };
    rights.ACEDER = flag("ACEDER");
    rights.INSERIR = flag("INSERIR");
    rights.ELIMINAR = flag("ELIMINAR");
    rights.IMPORTAR = flag("IMPORTAR");
    rights.IMPRIMIR = flag("IMPRIMIR");
    rights.SCANNER = flag("SCANNER");
    return rights;
}

FormRights AccessRights::readForm(RightsVariant variant, const QString& application, const QString& chapter,
                                  const QString& program)
{
    const Rights row = lookup(application, chapter, program);
    FormRights form;
    form.rights.found = row.found;
    switch (variant) {
    case RightsVariant::R1:
    case RightsVariant::R2: form.rights.IMPORTAR = row.IMPORTAR; [[fallthrough]];
    case RightsVariant::R3:
        form.rights.INSERIR = row.INSERIR;
        form.rights.ELIMINAR = row.ELIMINAR;
        [[fallthrough]];
    case RightsVariant::R4:
    case RightsVariant::R6:
        form.rights.ACEDER = row.ACEDER;
        form.rights.IMPRIMIR = row.IMPRIMIR;
        break;
    case RightsVariant::R5: break;
    }
    if (variant == RightsVariant::R2 && !row.found)
        form.message = QStringLiteral("INVALID KEY");
    if (variant == RightsVariant::R5 && !row.found) {
        form.beep = true;
        form.message = QStringLiteral("Não pode aceder a este Programa");
        form.closeForm = true;
    }
    const bool mayInsert = form.rights.INSERIR == Yes;
    form.showInserir = form.showCancelar = form.enableFields = mayInsert;
    form.showDelete = form.rights.ELIMINAR == Yes;
    form.showPrint = form.rights.IMPRIMIR == Yes;
    return form;
}

bool AccessRights::sideDoorVisible(const QString& application, const QString& chapter, const QString& program,
                                   bool hideWhenRefused)
{
    const Rights row = lookup(application, chapter, program);
    return row.found && !(hideWhenRefused && row.ACEDER == No);
}

bool AccessRights::allowed(const QString& chapter, const QString& program)
{
    // A row with any ACEDER but "N", even an empty one, lets the user in.
    return sideDoorVisible(m_state.WAplicacao, chapter, program);
}

MenuRights AccessRights::menuRights()
{
    MenuRights menu;
    for (const MenuEntry& e : MenuEntries) {
        const bool on = allowed(QString::fromLatin1(e.chapter), QString::fromLatin1(e.program));
        menu.enabled[QString::fromLatin1(e.item)] = on;
        if (e.button)
            menu.enabled[QString::fromLatin1(e.button)] = on;
    }
    const bool modelT = m_state.productionModelT();
    const bool closing = allowed(QStringLiteral("Planeamento"), QStringLiteral("Finalizacao Producao"));
    for (const char* name : ClosingModelT)
        menu.enabled[QString::fromLatin1(name)] = closing && modelT;
    for (const char* name : ClosingOtherModels)
        menu.enabled[QString::fromLatin1(name)] = closing && !modelT;
    return menu;
}

} // namespace kv::shell
