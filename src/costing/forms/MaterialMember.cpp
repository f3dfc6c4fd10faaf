#include "costing/forms/MaterialMember.h"

namespace kv::costing {

CodeTableDescription materialMember(const MaterialNames& names)
{
    CodeTableDescription m;
    m.formClass = names.formClass;
    m.caption = names.caption;
    m.table = names.table;
    m.dataset = QStringLiteral("ZURIVAVEZA.") + names.table;
    m.rightsProgram = names.rightsProgram;

    FieldSpec article;
    article.name = QStringLiteral("Edit_Artigo");
    article.column = QStringLiteral("ARTIGO");
    article.caption = QStringLiteral("Referência Artigo : ");
    FieldSpec designation;
    designation.name = QStringLiteral("Edit_Designacao");
    designation.column = QStringLiteral("DESIGNACAO");
    designation.caption = QStringLiteral("Designação : ");
    designation.rule = FieldRule::notEmpty(QStringLiteral("Designação Inválida !!!"));
    FieldSpec grams;
    grams.name = QStringLiteral("Edit_Gramagem");
    grams.column = QStringLiteral("GRAMAGEM");
    grams.caption = QStringLiteral("Consumo P/ M2 : ");
    grams.suffix = names.consumptionSuffix;
    grams.rule = FieldRule::notEmpty(QStringLiteral("Gramagem Inválida !!!"));
    FieldSpec price;
    price.name = QStringLiteral("Edit_Preco");
    price.column = QStringLiteral("PRECO");
    price.caption = names.priceCaption;
    price.rule = FieldRule::notEmpty(QStringLiteral("Preco Inválido !!!"));
    m.fields = {article, designation, grams, price};

    m.grid = {{QStringLiteral("CODIGO"), QStringLiteral("Código"), 6},
              {QStringLiteral("ARTIGO"), QStringLiteral("Artigo Nº"), 16},
              {QStringLiteral("DESIGNACAO"), QStringLiteral("Designação"), 40},
              {QStringLiteral("GRAMAGEM"), QStringLiteral("Gram."), 8},
              {QStringLiteral("PRECO"), QStringLiteral("Preço"), 12, ValueFormat::Money}};

    ArticleLinkSpec link;
    link.copied = {{QStringLiteral("DESIGNACAO"), QStringLiteral("DESIGNACAO")}, {QStringLiteral("PRECO"), {}, true}};
    m.article = link;

    ListPrintSpec print;
    print.dialogClass = names.dialogClass;
    print.dialogCaption = names.caption;
    print.reportClass = names.reportClass;
    print.reportTitle = names.reportTitle;
    print.articleRange = true;
    print.columns = {{QStringLiteral("Código"), QStringLiteral("CODIGO"), 15, ValueFormat::Plain, Qt::AlignRight},
                     {QStringLiteral("Referência"), QStringLiteral("ARTIGO"), 34},
                     {QStringLiteral("Designação do artigo"), QStringLiteral("DESIGNACAO"), 82},
                     {QStringLiteral("Gram.M2"), QStringLiteral("GRAMAGEM"), 25, ValueFormat::Plain, Qt::AlignRight},
                     {names.priceTitle, QStringLiteral("PRECO"), 32, ValueFormat::Money, Qt::AlignRight}};
    m.print = print;
    return m;
}

CodeTableDescription inksMember()
{
    return materialMember({QStringLiteral("TORCF002"), QStringLiteral("Tabela de Tintas"), QStringLiteral("TINTAS"),
                           QStringLiteral("Tintas"), QStringLiteral("( Grs )"), QStringLiteral("Preço Kg: "),
                           QStringLiteral("TORCFSPR002"), QStringLiteral("TORCFPR002"),
                           QStringLiteral("Tabela de Tintas"), QStringLiteral("Preço")});
}

} // namespace kv::costing
