#pragma once

#include "costing/core/ArticleLists.h"
#include "costing/forms/CodeTableDescription.h"

#include <memory>

class QWidget;

namespace kv::costing {

class CodeTableForm;

// The article field of a code table whose rows name a stock article: its
// lookups on Insert and Ctrl+Insert, its check on leaving, and the columns a
// new row takes from the article chosen.
class ArticleLink {
public:
    ArticleLink(CodeTableForm& form, const ArticleLinkSpec& spec);
    ~ArticleLink();

    ArticleLists& lists() const { return *m_lists; }
    bool isField(const QString& name) const { return name == m_spec.field; }

    // The key hint and the two lookups of the article field.
    void attach(QWidget* field);
    // The check on leaving the field; false: refused, the form told the user.
    bool left(QWidget* field);
    // The lookup in numeric or alphabetic order: the article chosen with OK
    // goes into the row.
    void lookup(bool alphabetic);

private:
    CodeTableForm& m_form;
    const ArticleLinkSpec& m_spec;
    std::unique_ptr<ArticleLists> m_lists;
};

} // namespace kv::costing
