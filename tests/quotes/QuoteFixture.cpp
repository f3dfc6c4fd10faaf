#include "quotes/QuoteFixture.h"

namespace kv::quotes::test {

CostTables plantTables()
{
    CostTables t;
    MachineRow printer;
    printer.code = 1;
    printer.designation = QStringLiteral("Impressora 4 Cores");
    printer.machineType = 1;
    printer.coloursPerPass = 4;
    printer.costPerHour = 60;
    printer.productionUnit = QStringLiteral("U");
    printer.factor[0] = 5000;
    printer.factor[1] = 4000;
    printer.factor[2] = 3000;
    printer.passMin[0] = 0.5;
    printer.passMin[1] = 0.8;
    printer.passMin[2] = 1.0;
    printer.passMin[3] = 1.2;
    printer.passMax[0] = 0.75;
    t.machines.emplace(1, printer);

    MachineRow cutter;
    cutter.code = 2;
    cutter.designation = QStringLiteral("Corte e Vinco");
    cutter.machineType = 2;
    cutter.costPerHour = 50;
    cutter.productionUnit = QStringLiteral("U");
    cutter.factor[0] = 2000;
    cutter.dieMin[0] = 0.4;
    t.machines.emplace(2, cutter);

    MachineRow gluer;
    gluer.code = 3;
    gluer.designation = QStringLiteral("Coladora");
    gluer.machineType = 3;
    gluer.costPerHour = 40;
    gluer.productionUnit = QStringLiteral("U");
    gluer.factor[0] = 10000;
    gluer.sideSeamMin = 0.25;
    gluer.glueCode = 1;
    gluer.glueConsumption = 300;
    gluer.glueConsumptionByKind[0] = 100;
    gluer.glueConsumptionByKind[1] = 200;
    gluer.glueConsumptionByKind[2] = 400;
    t.machines.emplace(3, gluer);

    MachineRow noFactor = printer;
    noFactor.code = 9;
    noFactor.factor[0] = 0;
    t.machines.emplace(9, noFactor);

    MachineRow noColours = printer;
    noColours.code = 8;
    noColours.coloursPerPass = 0;
    t.machines.emplace(8, noColours);

    MachineRow sixColours = printer;
    sixColours.code = 6;
    sixColours.coloursPerPass = 1;
    t.machines.emplace(6, sixColours);

    t.boards.emplace(1, BoardRow{1, QStringLiteral("Cartolina 300g"), 300, 0.8, QStringLiteral("1")});
    t.boards.emplace(2, BoardRow{2, QStringLiteral("Micro por Folha"), 450, 0.15, QStringLiteral("2")});
    t.inks.emplace(1, MaterialRow{1, QStringLiteral("Tinta Azul"), 2, 10});
    t.varnishes.emplace(1, MaterialRow{1, QStringLiteral("Verniz Brilho"), 5, 4});
    t.films.emplace(1, MaterialRow{1, QStringLiteral("Filme Mate"), 20, 6});
    t.pvcs.emplace(1, MaterialRow{1, QStringLiteral("PVC Janela"), 0, 5});
    t.glues.emplace(1, GlueRow{1, QStringLiteral("Cola Vinílica"), 4, 0, 3, QStringLiteral("1")});
    t.glues.emplace(2, GlueRow{2, QStringLiteral("Cola por Milheiro"), 400, 0, 3, QStringLiteral("2")});
    t.finishes.emplace(
        1, FinishRow{1, QStringLiteral("Embalagem Caixa"), 12, 0, QStringLiteral("2"), QStringLiteral("M")});
    t.finishes.emplace(2,
                       FinishRow{2, QStringLiteral("Escolha Manual"), 0, 3, QStringLiteral("1"), QStringLiteral("M")});
    t.cuttings.emplace(1, CuttingRow{1, QStringLiteral("Guilhotina"), 0.01, QStringLiteral("U")});
    FixedCostRow fixed;
    fixed.code = 1;
    fixed.designation = QStringLiteral("Cliché");
    fixed.price = 25;
    fixed.rawMaterial = true;
    t.fixedCosts.emplace(1, fixed);
    FixedCostRow noClass;
    noClass.code = 2;
    noClass.designation = QStringLiteral("Sem Grupo");
    noClass.price = 10;
    t.fixedCosts.emplace(2, noClass);
    SubcontractRow sub;
    sub.code = 1;
    sub.designation = QStringLiteral("Estampagem");
    sub.price = 75;
    sub.unit = QStringLiteral("UN");
    t.subcontracts.emplace(1, sub);
    t.transports.emplace(1, TransportRow{1, QStringLiteral("Lisboa"), 0, 1.5});

    WasteBand zero;
    zero.code = 1;
    t.wasteBands.push_back(zero);
    WasteBand main;
    main.code = 2;
    main.from = 1;
    main.to = 100000;
    main.finishingNormal = 5;
    main.finishingOther = 7;
    main.printing[0] = 10;
    main.printing[1] = 12;
    main.printing[2] = 14;
    main.printing[3] = 16;
    t.wasteBands.push_back(main);
    return t;
}

QuoteRow plantQuoteRow()
{
    QuoteRow r;
    r.set("CODIGO", 7);
    r.set("SUBCODIGO", 0);
    r.set("CLINRO", 101);
    r.set("NOME", QStringLiteral("Cliente de Teste"));
    r.set("DESIGN1", QStringLiteral("Caixa de Cartolina"));
    r.set("CODIVA", 2);
    r.set("UNIDADE", QStringLiteral("M"));
    r.set("QTDORC1", 5.0);
    r.set("QTDORC2", 10.0);
    r.set("QTDORC3", 0.0);
    r.set("UNDPLANO", 4);
    r.set("PLNCOMPRIM1", 100.0);
    r.set("PLNLARGURA1", 70.0);
    r.set("PLNCOMPRIM2", 0.0);
    r.set("PLNLARGURA2", 0.0);
    r.set("NROCORES", 2);
    r.set("SUPERFIMPR", 50.0);
    r.set("CARTOLINA", 1);
    r.set("MICROCANAL", 0);
    r.set("PLACA", 0);
    r.set("ACABNORMAL", QStringLiteral("S"));
    r.set("RELEVO", QStringLiteral("N"));
    for (const char* c :
         {"PRDHORACV", "ACERTOCV", "PRDHORAIMP", "ACERTOIMP", "PRDHORACOL", "ACERTOCOL", "PRDHORAC_COL", "ACERTOC_COL"})
        r.set(QString::fromLatin1(c), 1);
    r.set("C_COLTIPO", 0);
    r.set("ENCNRO", 55);
    r.set("APROVADO", QStringLiteral("S"));
    r.set("PRINTE", QStringLiteral("S"));
    r.set("QTDADJUD", 3.0);
    return r;
}

ProcedureLine procedureLine(int tableType, int tableCode, int detail)
{
    ProcedureLine l;
    l.procedure = 1;
    l.detail = detail;
    l.tableType = tableType;
    l.tableCode = tableCode;
    l.designation = QStringLiteral("linha");
    return l;
}

} // namespace kv::quotes::test
