#pragma once

#include <QString>
#include <array>

namespace kv::customers {

// What the automatic coding form hands back to the article form when it is
// confirmed; `generated` stays false when it is closed any other way.
struct CodingResult {
    bool generated = false; // a new, non-empty code was confirmed
    QString code;
    QString designation; // at most 40 characters
    QString labelDesignation; // at most 40 characters; written even when not generated
    QString articleType;
    std::array<int, 9> custom{}; // the value of classification table n + 1, 0 for none
};

// What the article forms keep for the whole run of the program: made with
// the session's form registrations and gone with them. The group and table
// stay from one opening of the article form to the next until a type is
// confirmed again.
struct ArticleSessionState {
    QString WArtTabGrupo; // customisation group of the article type
    QString WArtTabCod; // "1" .. "9": the customisation table being worked on
    CodingResult coding; // the last coding form's result
    QString articleCode; // the accepted code the per-country form works on
};

} // namespace kv::customers
