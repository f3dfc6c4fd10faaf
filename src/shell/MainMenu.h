#pragma once

#include "shell/LoginState.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace kv::shell {

// What a menu entry opens: the report forms created first (in this order),
// the function's form, and the order the report forms are freed in after it.
struct FormOpening {
    QString form; // empty: the entry opens no form
    QStringList reports;
    QStringList reportFreeOrder;
};

// One function of the main menu with its toolbar button.
struct MenuFunction {
    QString item; // menu item object name ("TABORC001")
    QString caption; // menu text ("&B - Micro; Canal B; Placa; Cartolinas")
    QString button; // toolbar button ("BotPapeis"), empty when none
    QString page; // toolbar page of the button
    QString hint; // the button's hint and caption label
    bool separatorAfter = false;
};

// What an entry opens, as the units declare it: the reports are freed in the
// order they were created unless another order is given.
FormOpening formOpening(const char* form, QStringList reports = {}, QStringList freeOrder = {});

// A menu function as the units declare it.
MenuFunction menuFunction(const char* item, const char* caption, const char* button = "", const char* page = "",
                          const char* hint = "", bool separatorAfter = false);

// The menus of the main window, their functions and what each opens, as the
// subsystems contribute them (Subsystems).
class MainMenu {
public:
    struct Menu {
        QString title;
        std::vector<MenuFunction> functions;
        QString submenu; // title of the submenu holding the entries below
        std::vector<MenuFunction> submenuFunctions;
        bool separatorAfterSubmenu = false;
        std::vector<MenuFunction> afterSubmenu;
    };

    static const std::vector<Menu>& menus();
    static QStringList pages(); // toolbar pages, in the order the menus first name them
    static QString startPage() { return QStringLiteral("Orçamentos"); }

    // The forms an entry opens, by the quote letter layout and the
    // production-order model of the login (the units decide).
    static FormOpening opening(const QString& item, const LoginState& state);
};

} // namespace kv::shell
