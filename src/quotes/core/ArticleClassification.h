#pragma once

#include <QString>
#include <array>
#include <optional>

namespace kv::db {
class Connection;
}

namespace kv::quotes {

// The article of a quote as the quote viewers show it: its figures and the
// nine customisation codes named by its type's group.
struct ClassifiedArticle {
    bool found = false;
    QString code;
    double standardCost = 0; // CUSTOPADRAO
    double price = 0; // PRECO1
    double weight = 0; // PESO
    QString family; // FAMILIA
    std::array<int, 9> codes{}; // CUSTOM1..CUSTOM9, 0 = no value
    QString group; // the customisation group of its type, empty when it has none
    std::array<QString, 9> tableNames; // LabelArtigo1..9
    std::array<QString, 9> valueNames; // Label_NomeCustom1..9
};

// Reads an article and its classification by key (invoicing database): the
// group of the article's type from `PARCUSTOM` row "1", the group's table
// names from `PARGRUPOS`, each code's designation from the group's
// "PORTUGAL" values of `CUSTARTG`. Names of one article never stay for the
// next: an article missing, without a code, of a type other than "1" to
// "10", or a missing `PARCUSTOM` row gives no names.
class ArticleClassification {
public:
    explicit ArticleClassification(kv::db::Connection& invoicing);

    // The groups of `PARCUSTOM` row "1"; false when the row is missing.
    bool readGroups();
    ClassifiedArticle article(const QString& code);

private:
    kv::db::Connection& m_db;
    std::optional<std::array<QString, 10>> m_groups;
};

} // namespace kv::quotes
