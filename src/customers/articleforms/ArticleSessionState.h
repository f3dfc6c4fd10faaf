#pragma once

#include "customers/coding/forms/ArticleCodingForms.h"

#include <QString>

namespace kv::customers {

// What the article form keeps for the whole run of the program: made with
// the session's form registrations and gone with them. The group and table
// stay from one opening of the article form to the next until a type is
// confirmed again.
struct ArticleSessionState {
    QString WArtTabGrupo; // customisation group of the article type
    QString WArtTabCod; // "1" .. "9": the customisation table being worked on
    CodingResult coding; // what the last coding form handed back
};

} // namespace kv::customers
