#include "platform/report/DataBand.h"

namespace kv::report {

Group::Group(Key key, const QString& name) : m_key(std::move(key)), m_name(name) {}

Band& Group::header()
{
    if (!m_header)
        m_header = std::make_unique<Band>(BandKind::GroupHeader, m_name + QStringLiteral("Header"));
    return *m_header;
}

Band& Group::footer()
{
    if (!m_footer)
        m_footer = std::make_unique<Band>(BandKind::GroupFooter, m_name + QStringLiteral("Footer"));
    return *m_footer;
}

DataBand::DataBand(BandKind kind, const QString& name) : Band(kind, name) {}

DataBand::~DataBand() = default;

Band& DataBand::header()
{
    if (!m_header)
        m_header = std::make_unique<Band>(BandKind::DataHeader, name() + QStringLiteral("Header"));
    return *m_header;
}

Band& DataBand::footer()
{
    if (!m_footer)
        m_footer = std::make_unique<Band>(BandKind::DataFooter, name() + QStringLiteral("Footer"));
    return *m_footer;
}

Group& DataBand::addGroup(const QString& field, const QString& name)
{
    return addGroup([field](const RowView& row) { return row.value(field); }, name.isEmpty() ? field : name);
}

Group& DataBand::addGroup(Group::Key key, const QString& name)
{
    m_groups.push_back(std::make_unique<Group>(std::move(key), name));
    return *m_groups.back();
}

DataBand& DataBand::addSubDetail(RowSource* source, const QString& name)
{
    m_subDetails.push_back(std::make_unique<DataBand>(BandKind::SubDetail, name));
    m_subDetails.back()->setSource(source);
    return *m_subDetails.back();
}

void DataBand::forEachBand(const std::function<void(Band&)>& visit)
{
    if (m_header)
        m_header->forEachBand(visit);
    for (const auto& g : m_groups) {
        if (g->headerBand())
            g->headerBand()->forEachBand(visit);
        if (g->footerBand())
            g->footerBand()->forEachBand(visit);
    }
    Band::forEachBand(visit);
    for (const auto& s : m_subDetails)
        s->forEachBand(visit);
    if (m_footer)
        m_footer->forEachBand(visit);
}

} // namespace kv::report
