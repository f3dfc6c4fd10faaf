#include "costing/forms/MaterialMember.h"
#include "costing/forms/members/MemberDescriptions.h"

namespace kv::costing {

CodeTableDescription varnishesMember()
{
    return materialMember({QStringLiteral("TORCF003"), QStringLiteral("Tabela de Vernizes"), QStringLiteral("VERNIZES"),
                           QStringLiteral("Vernizes"), QStringLiteral("( Grs )"), QStringLiteral("Preço Kg : "),
                           QStringLiteral("TORCFSPR003"), QStringLiteral("TORCFPR003"),
                           QStringLiteral("Tabela de Vernizes"), QStringLiteral("Preço")});
}

namespace {

// The film and PVC reports print a shorter title than their caption.
CodeTableDescription withReportCaption(CodeTableDescription member, const QString& caption)
{
    member.print->reportCaption = caption;
    return member;
}

} // namespace

CodeTableDescription laminatingFilmMember()
{
    const MaterialNames names{QStringLiteral("TORCF005"),
                              QStringLiteral("Filme para Plasticizar"),
                              QStringLiteral("FILMEPLAS"),
                              QStringLiteral("Filme de Plasticizar"),
                              QStringLiteral("Grs"),
                              QStringLiteral("Preço Kg : "),
                              QStringLiteral("TORCFSPR005"),
                              QStringLiteral("TORCFPR005"),
                              QStringLiteral("Filme para Plasticizar"),
                              QStringLiteral("Preço (Kg)")};
    return withReportCaption(materialMember(names), QStringLiteral("Tabela de Filme para Plasticizar"));
}

CodeTableDescription windowPvcMember()
{
    const MaterialNames names{QStringLiteral("TORCF006"),    QStringLiteral("Tabela de PVC Janelas"),
                              QStringLiteral("PVC"),         QStringLiteral("PVC Janelas"),
                              QStringLiteral("Grs"),         QStringLiteral("Preço Kg : "),
                              QStringLiteral("TORCFSPR006"), QStringLiteral("TORCFPR006"),
                              QStringLiteral("PVC Janelas"), QStringLiteral("Preço (Kg)")};
    return withReportCaption(materialMember(names), QStringLiteral("Tabela de PVC Janelas"));
}

} // namespace kv::costing
