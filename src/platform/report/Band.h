#pragma once

#include "platform/report/FieldElement.h"
#include "platform/report/ImageElement.h"
#include "platform/report/ShapeElement.h"
#include "platform/report/SystemElement.h"
#include "platform/report/TextElement.h"
#include "platform/report/TotalElement.h"

#include <QColor>
#include <functional>
#include <memory>
#include <vector>

namespace kv::report {

class Band;
class Report;

enum class BandKind {
    Title,
    PageHeader,
    ColumnHeader,
    Detail,
    SubDetail,
    DataHeader,
    DataFooter,
    GroupHeader,
    GroupFooter,
    Summary,
    PageFooter,
    Child
};

// What a before-print hook of a band sees. Setting `print` to false skips
// the band (and its child bands) this time; the hook may also change the
// texts of elements or hide them.
struct BandContext {
    Report& report;
    Band& band;
    const RowView* row; // the band's row, or none
    int pageNumber;
    bool print = true;

    QVariant value(const QString& field) const;
};

// A horizontal strip of the page with its elements, in millimetres. A
// stretching band grows to fit its word-wrapped texts.
class Band {
public:
    using Hook = std::function<void(BandContext&)>;

    explicit Band(BandKind kind, const QString& name = {});
    virtual ~Band();
    Band(const Band&) = delete;
    Band& operator=(const Band&) = delete;

    BandKind kind() const { return m_kind; }
    const QString& name() const { return m_name; }
    double height() const { return m_height; }
    Band& setHeight(double mm)
    {
        m_height = mm;
        return *this;
    }
    bool stretches() const { return m_stretch; }
    Band& setStretch(bool stretch)
    {
        m_stretch = stretch;
        return *this;
    }
    const QColor& color() const { return m_color; }
    Band& setColor(const QColor& color)
    {
        m_color = color;
        return *this;
    }
    // The band always starts a page of its own.
    bool startsNewPage() const { return m_newPage; }
    Band& setNewPage(bool newPage)
    {
        m_newPage = newPage;
        return *this;
    }

    void setBeforePrint(Hook hook) { m_beforePrint = std::move(hook); }
    const Hook& beforePrint() const { return m_beforePrint; }

    TextElement& addText(const QString& text, const QRectF& rectMm, const QString& name = {});
    FieldElement& addField(const QString& field, const QRectF& rectMm, const FieldFormat& format = {},
                           const QString& name = {});
    FieldElement& addExpression(FieldElement::Expression expression, const QRectF& rectMm,
                                const FieldFormat& format = {}, const QString& name = {});
    SystemElement& addSystem(SystemElement::Field field, const QRectF& rectMm, const QString& prefix = {},
                             const QString& name = {});
    TotalElement& addTotal(const QString& field, const QRectF& rectMm, const FieldFormat& format = {},
                           const QString& name = {});
    ShapeElement& addShape(ShapeElement::Shape shape, const QRectF& rectMm, const QString& name = {});
    ImageElement& addImage(const QString& file, const QRectF& rectMm, const QString& name = {});
    template <class T>
    T& add(std::unique_ptr<T> element)
    {
        T& ref = *element;
        m_elements.push_back(std::move(element));
        return ref;
    }

    const std::vector<std::unique_ptr<Element>>& elements() const { return m_elements; }
    Element* find(const QString& name) const; // this band's elements only

    // The band printed right after this one, when this one prints.
    Band& child();
    Band* childBand() const { return m_child.get(); }

    // Every band below this one (children, and for data bands their
    // headers, footers, groups and sub-details), this one first.
    virtual void forEachBand(const std::function<void(Band&)>& visit);

private:
    BandKind m_kind;
    QString m_name;
    double m_height = 5.0;
    bool m_stretch = false;
    QColor m_color;
    bool m_newPage = false;
    Hook m_beforePrint;
    std::vector<std::unique_ptr<Element>> m_elements;
    std::unique_ptr<Band> m_child;
};

} // namespace kv::report
