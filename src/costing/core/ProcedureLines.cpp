#include "costing/core/ProcedureLines.h"

namespace kv::costing {

namespace {

const int NameWidth = 25; // PROCDET.NOMETABELA
const int DesignationWidth = 30; // PROCDET.DESTAB

// The layout of the tables priced per article: inks, varnishes, film, PVC.
TableSearch articleTable(int type, const char* table)
{
    TableSearch s;
    s.type = type;
    s.table = QString::fromLatin1(table);
    s.dataset = QStringLiteral("ZURIVAVEZA.") + s.table;
    s.numeric = {{QStringLiteral("ARTIGO"), QStringLiteral("Artigo Nº"), 16},
                 {QStringLiteral("DESIGNACAO"), QStringLiteral("Designação"), 30},
                 {QStringLiteral("PRECO"), QStringLiteral("Preço"), 10}};
    s.alphabetic = {s.numeric[1], s.numeric[0], s.numeric[2]};
    return s;
}

// A table keyed by its own code, with a designation and one value.
TableSearch codedTable(int type, const char* table, const char* codeTitle, const char* valueColumn,
                       const char* valueTitle)
{
    TableSearch s;
    s.type = type;
    s.table = QString::fromLatin1(table);
    s.dataset = QStringLiteral("ZURIVAVEZA.") + s.table;
    s.numeric = {{QStringLiteral("CODIGO"), QString::fromUtf8(codeTitle), 10},
                 {QStringLiteral("DESIGNACAO"), QStringLiteral("Designação"), 30}};
    if (valueColumn)
        s.numeric.push_back({QString::fromLatin1(valueColumn), QString::fromUtf8(valueTitle), 10});
    s.alphabetic = s.numeric;
    std::swap(s.alphabetic[0], s.alphabetic[1]);
    return s;
}

std::vector<TableSearch> makeSearches()
{
    std::vector<TableSearch> all;
    TableSearch machines = codedTable(1, "MAQUINAS", "Máquina Nº", nullptr, nullptr);
    machines.numeric[0].width = 1;
    machines.alphabetic[1].width = 1;
    all.push_back(machines);
    all.push_back(articleTable(2, "TINTAS"));
    all.push_back(articleTable(3, "VERNIZES"));
    TableSearch glues = articleTable(4, "COLAS");
    glues.numeric = {glues.numeric[0],
                     glues.numeric[1],
                     {QStringLiteral("PERC"), QStringLiteral("( % )"), 10},
                     glues.numeric[2],
                     {QStringLiteral("TIPOCALC"), QStringLiteral("T.C."), 1},
                     {QStringLiteral("TIPOCALCDES"), QStringLiteral("Rotina Cálculo"), 45}};
    glues.alphabetic = glues.numeric;
    std::swap(glues.alphabetic[0], glues.alphabetic[1]);
    all.push_back(glues);
    all.push_back(articleTable(5, "FILMEPLAS"));
    all.push_back(articleTable(6, "PVC"));
    all.push_back(codedTable(7, "ACABAMENTO", "Código Nº", "CUSTOFIXO", "Custo Fixo"));
    TableSearch boards = articleTable(8, "PAPEIS");
    boards.numeric.insert(boards.numeric.begin() + 2, {QStringLiteral("GRAMAGEM"), QStringLiteral("Gramagem"), 10});
    boards.alphabetic = boards.numeric;
    all.push_back(boards);
    all.push_back(codedTable(9, "OPERCORTE", "Código Nº", "CUSTOPPLANO", "Custo P/Plano"));
    all.push_back(codedTable(10, "CUSTFIXOS", "Código", "PRECO", "Preço"));
    TableSearch subcontracts = codedTable(11, "SUBCONTRATO", "Código", "PRECO", "Preço");
    subcontracts.dataset = QStringLiteral("ZURIVAVEZA.SUBCONT");
    subcontracts.alphabetic = {subcontracts.numeric[1], subcontracts.numeric[2]};
    subcontracts.alphabeticOrder = {QStringLiteral("DESIGNACAO")};
    all.push_back(subcontracts);
    // Transport rates have no designation: the province names the line.
    TableSearch transport;
    transport.type = 99;
    transport.table = QStringLiteral("CUSTRANSP");
    transport.dataset = QStringLiteral("ZURIVAVEZA.CUSTRANSP");
    const QStringList place{QStringLiteral("PAIS"), QStringLiteral("REGIAO"), QStringLiteral("PROVINCIA")};
    const std::vector<SearchColumn> code{{QStringLiteral("CODIGO"), QStringLiteral("Código"), 10}};
    const std::vector<SearchColumn> where{{QStringLiteral("PAIS"), QStringLiteral("País"), 20},
                                          {QStringLiteral("REGIAO"), QStringLiteral("Região"), 20},
                                          {QStringLiteral("PROVINCIA"), QStringLiteral("Província"), 20}};
    const std::vector<SearchColumn> prices{{QStringLiteral("PRCORCAM"), QStringLiteral("Preço P/Orçam."), 12},
                                           {QStringLiteral("CUSTOKM"), QStringLiteral("Custo P/Km"), 12}};
    transport.numeric = code;
    transport.numeric.insert(transport.numeric.end(), where.begin(), where.end());
    transport.numeric.insert(transport.numeric.end(), prices.begin(), prices.end());
    transport.alphabetic = where;
    transport.alphabetic.insert(transport.alphabetic.end(), code.begin(), code.end());
    transport.alphabetic.insert(transport.alphabetic.end(), prices.begin(), prices.end());
    transport.alphabeticOrder = place;
    transport.standardOrder = place;
    transport.designation = QStringLiteral("PROVINCIA");
    all.push_back(transport);
    return all;
}

} // namespace

QString TableSearch::statement(ListOrder order) const
{
    return tableStatement(table, order == ListOrder::Numeric ? numericOrder : alphabeticOrder);
}

QString TableSearch::standardStatement() const { return tableStatement(table, standardOrder); }

const std::vector<TableSearch>& tableSearches()
{
    static const std::vector<TableSearch> all = makeSearches();
    return all;
}

const TableSearch* tableSearch(int type)
{
    for (const TableSearch& s : tableSearches())
        if (s.type == type)
            return &s;
    return nullptr;
}

QString procedureLinesStatement()
{
    return QStringLiteral("SELECT * FROM PROCDET WHERE CODIGO = :CODIGO ORDER BY CODIGO, DETAIL");
}

int nextLineNumber(kv::db::Connection& application, int procedure)
{
    const QVariant highest = application.scalar(QStringLiteral("SELECT MAX(DETAIL) FROM PROCDET WHERE CODIGO = :P"),
                                                {{QStringLiteral("P"), procedure}});
    return highest.isNull() ? 1 : highest.toInt() + 1;
}

int addProcedureLine(kv::db::Connection& application, int procedure, const ProcedureLine& line)
{
    const kv::db::Params values{{QStringLiteral("P"), procedure},
                                {QStringLiteral("T"), line.tableType},
                                {QStringLiteral("C"), line.tableCode},
                                {QStringLiteral("N"), line.tableName.left(NameWidth)},
                                {QStringLiteral("S"), line.designation.left(DesignationWidth)}};
    kv::db::Transaction transaction(application);
    // Workstations adding lines to one procedure wait for each other on its
    // row (on SQLite the transaction already writes alone), so the number
    // each takes in the statement that stores the line is free. Without the
    // row, two may still compute the same number: the one refused by the key
    // takes the next, so both lines are stored.
    if (application.dialect() == kv::db::Dialect::Postgres)
        application.scalar(QStringLiteral("SELECT CODIGO FROM PROCMAS WHERE CODIGO = :P FOR UPDATE"),
                           {{QStringLiteral("P"), procedure}});
    constexpr int Attempts = 20;
    for (int attempt = 1;; ++attempt) {
        kv::db::Transaction step(application);
        try {
            const int detail =
                application
                    .scalar(QStringLiteral("INSERT INTO PROCDET (CODIGO, DETAIL, TIPOTABELA, CODTAB, NOMETABELA, "
                                           "DESTAB) SELECT :P, COALESCE(MAX(DETAIL), 0) + 1, :T, :C, :N, :S "
                                           "FROM PROCDET WHERE CODIGO = :P RETURNING DETAIL"),
                            values)
                    .toInt();
            step.commit();
            transaction.commit();
            return detail;
        } catch (const kv::db::DbError& error) {
            step.rollback();
            if (error.kind() != kv::db::DbError::Kind::Constraint || attempt == Attempts)
                throw;
        }
    }
}

void deleteProcedureLine(kv::db::Connection& application, int procedure, int detail)
{
    application.exec(QStringLiteral("DELETE FROM PROCDET WHERE CODIGO = :P AND DETAIL = :D"),
                     {{QStringLiteral("P"), procedure}, {QStringLiteral("D"), detail}});
}

void deleteProcedure(kv::db::Connection& application, int procedure)
{
    kv::db::Transaction transaction(application);
    application.exec(QStringLiteral("DELETE FROM PROCDET WHERE CODIGO = :P"), {{QStringLiteral("P"), procedure}});
    application.exec(QStringLiteral("DELETE FROM PROCMAS WHERE CODIGO = :P"), {{QStringLiteral("P"), procedure}});
    transaction.commit();
}

QString invalidProcedureMessage(int procedure)
{
    return QStringLiteral("procedimento Inválido c/ o Nº ") + QString::number(procedure);
}

QString invalidTableTypeMessage() { return QStringLiteral("Tipo de Tabela Inválida"); }

QString tableCodeHint() { return QStringLiteral("Tecla <INSERT> Busca Numérica -- <CTRL-INSERT> Busca Alfabética"); }

QString tableCodeMessage() { return QStringLiteral("Prima <Ins> Busca numérica ; <Crtl>+<Ins> Busca Alfabética"); }

} // namespace kv::costing
