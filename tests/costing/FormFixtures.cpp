#include "costing/FormFixtures.h"

#include "platform/report/PreviewWindow.h"

namespace kv::costing::test {

Inks::Inks(Engine engine, const QString& inserir) : session(scenario, engine)
{
    session.grant("Tintas", inserir);
    session.addArticle("TI-CIA01", "Tinta Offset Ciano", "6", 8.95, 9.10);
    session.addArticle("TI-MAG01", "Tinta Offset Magenta", "6", 9.40, 9.40);
    session.addArticle("TI-OUR01", "Tinta Metalizada Ouro", "11", 32.0, 30.0);
    session.addArticle("TI-PRE01", "Tinta Offset Preto", "8", 0.0, 6.85);
    session.addArticle("SV-001", "Serviço de Mistura", "3", 0.0, 0.0);
    session.addInk(10, "TI-CIA01", "Ciano Processo", 1.2, 8.95);
    session.addInk(20, "TI-MAG01", "Magenta Processo", 1.2, 9.40);
    session.addInk(40, "TI-PRE01", "Preto Processo", 1.1, 6.85);
}

kv::test::FormDriver Inks::open()
{
    kv::test::FormDriver form = scenario.open("TORCF002");
    scenario.wait();
    return form;
}

void Inks::editRow(kv::test::FormDriver& form, int row)
{
    form.clickRow("DBGrid1", row);
    form.focus("Edit_Artigo");
    scenario.wait();
}

QString Inks::currentCode(kv::test::FormDriver& form) const
{
    return form.gridCell("DBGrid1", form.gridCurrentRow("DBGrid1"), 0);
}

kv::db::QueryResult Inks::stored(const QString& columns)
{
    return session.application()->query(QStringLiteral("SELECT %1 FROM TINTAS ORDER BY CODIGO").arg(columns));
}

QStringList bandTexts(const kv::report::Document& document, kv::report::BandKind kind)
{
    QStringList texts;
    for (const auto& page : document.pages)
        for (const auto& band : page.bands)
            if (band.kind == kind)
                for (const auto& item : band.items)
                    if (!item.text.isEmpty())
                        texts << item.text;
    return texts;
}

kv::report::Document printList(kv::test::Scenario& scenario, kv::test::FormDriver& form, bool alphabetic,
                               const std::function<void(kv::test::FormDriver&)>& inDialog)
{
    kv::report::Document document;
    scenario.onDialog([&](kv::test::FormDriver& dialog) {
        if (inDialog)
            inDialog(dialog);
        if (alphabetic)
            dialog.click("RadAlfabetica");
        scenario.onDialog([&](kv::test::FormDriver& preview) {
            document = qobject_cast<kv::report::PreviewWindow*>(preview.window())->document();
            preview.close();
        });
        dialog.click("BitPrint");
        dialog.click("BitTerminar");
    });
    form.click("BotPrint");
    scenario.wait();
    return document;
}

} // namespace kv::costing::test
