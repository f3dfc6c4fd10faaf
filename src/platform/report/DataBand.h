#pragma once

#include "platform/report/Band.h"
#include "platform/report/RowSource.h"

namespace kv::report {

// A group of rows with the same key (a field or an expression): its header
// prints before the first row of the group, its footer after the last one.
class Group {
public:
    using Key = std::function<QVariant(const RowView&)>;

    Group(Key key, const QString& name);

    const QString& name() const { return m_name; }
    QVariant key(const RowView& row) const { return m_key(row); }
    Band& header();
    Band& footer();
    Band* headerBand() const { return m_header.get(); }
    Band* footerBand() const { return m_footer.get(); }
    // Each group starts a new page (one document per group).
    bool startsNewPage() const { return m_newPage; }
    Group& setNewPage(bool newPage)
    {
        m_newPage = newPage;
        return *this;
    }

private:
    Key m_key;
    QString m_name;
    std::unique_ptr<Band> m_header;
    std::unique_ptr<Band> m_footer;
    bool m_newPage = false;
};

// A band printed once per row of its row source; the report's detail, or a
// sub-detail printed after each row of its master. A data band's header and
// footer print around its rows, and only when it has rows unless it prints
// when empty. A data band without a row source prints once.
class DataBand : public Band {
public:
    explicit DataBand(BandKind kind = BandKind::Detail, const QString& name = {});
    ~DataBand() override;

    RowSource* source() const { return m_source; }
    DataBand& setSource(RowSource* source)
    {
        m_source = source;
        return *this;
    }
    bool printsIfEmpty() const { return m_printIfEmpty; }
    DataBand& setPrintIfEmpty(bool print)
    {
        m_printIfEmpty = print;
        return *this;
    }

    Band& header();
    Band& footer();
    Band* headerBand() const { return m_header.get(); }
    Band* footerBand() const { return m_footer.get(); }

    Group& addGroup(const QString& field, const QString& name = {});
    Group& addGroup(Group::Key key, const QString& name = {});
    const std::vector<std::unique_ptr<Group>>& groups() const { return m_groups; }

    DataBand& addSubDetail(RowSource* source, const QString& name = {});
    const std::vector<std::unique_ptr<DataBand>>& subDetails() const { return m_subDetails; }

    void forEachBand(const std::function<void(Band&)>& visit) override;

private:
    RowSource* m_source = nullptr;
    bool m_printIfEmpty = false;
    std::unique_ptr<Band> m_header;
    std::unique_ptr<Band> m_footer;
    std::vector<std::unique_ptr<Group>> m_groups;
    std::vector<std::unique_ptr<DataBand>> m_subDetails;
};

} // namespace kv::report
