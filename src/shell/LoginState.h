#pragma once

#include <QDate>
#include <QString>

namespace kv::shell {

// The values of one running main program that the forms read: who is logged
// in, which company and databases are open, the working date and the fixed
// texts of the program. Filled by the main window and the login and handed to
// every form explicitly.
struct LoginState {
    // Fixed values, written on every activation of the main window.
    QString WVersao; // program version the database must reach
    QString WAplicacao; // application key of the rights rows
    QString WModuloBase; // application key of the base-module rights rows
    QString WMarca; // maker tag of the forms' status bar
    QString WRodape; // footer text of the reports
    int WIdioma = 0; // language index

    // Workstation, from the workstation files.
    QString WComputador; // up to 30 characters
    QString WTipoComputador; // one character

    // Written by the login.
    QString WUtil;
    QDate WData;
    QString WAno; // 4 characters
    int WEmpNro = 0;
    QString WEmpNom;
    QString WPathFotosLogo;
    QString WFicTec;
    QString WBdFactura;
    QString WBdContab;
    QString WBdEspecif01;
    QString WParamUserName; // "USER NAME=..."
    QString WParamPassword; // "PASSWORD=..."
    QString WVersaoBd;
    QString WTipoOrcam; // "" or one character
    QString WTipoOrdFab; // "" or one character

    // Set by the forms. These keep the names and places the company's other
    // programs and the shared datasets read; a new form hands its result
    // back to its caller (a return value, a signal) and adds nothing here.
    QString WCapitulo; // chapter of the last rights lookup
    int WTabCodFiltro = 0; // table code the customisation datasets show
    QString WTabGrupo;
    QString WTabCod;

    // Exchanged between the approval and the article and customer forms.
    QString WNosRefAprov;
    int WCliNroAprov = 0;
    double WPrecoAdjud = 0.0;

    // Writes the fixed values of the program.
    void setFixedValues();

    // The production-order model "T" selects the ORDFABRICO forms.
    bool productionModelT() const { return WTipoOrdFab == QLatin1String("T"); }
};

inline constexpr const char* ProgramVersion = "01.011";
inline constexpr const char* ApplicationKey = "KAVORIMETAS";
inline constexpr const char* BaseModuleKey = "MODULO BASE";

} // namespace kv::shell
