#include "shell/MainMenu.h"

#include "shell/Subsystems.h"

namespace kv::shell {

MenuFunction menuFunction(const char* item, const char* caption, const char* button, const char* page, const char* hint,
                          bool separatorAfter)
{
    return MenuFunction{QString::fromLatin1(item), QString::fromUtf8(caption), QString::fromLatin1(button),
                        QString::fromUtf8(page),   QString::fromUtf8(hint),    separatorAfter};
}

FormOpening formOpening(const char* form, QStringList reports, QStringList freeOrder)
{
    return FormOpening{QString::fromLatin1(form), reports, freeOrder.isEmpty() ? reports : freeOrder};
}

const std::vector<MainMenu::Menu>& MainMenu::menus() { return Subsystems::menus(); }

QStringList MainMenu::pages()
{
    QStringList pages;
    auto collect = [&pages](const std::vector<MenuFunction>& functions) {
        for (const MenuFunction& f : functions)
            if (!f.page.isEmpty() && !pages.contains(f.page))
                pages << f.page;
    };
    for (const Menu& m : menus()) {
        collect(m.functions);
        collect(m.submenuFunctions);
        collect(m.afterSubmenu);
    }
    return pages;
}

FormOpening MainMenu::opening(const QString& item, const LoginState& state) { return Subsystems::opening(item, state); }

} // namespace kv::shell
