#pragma once

#include <QDateTime>
#include <QRectF>
#include <QString>

namespace kv::report {

class Report;
class RowView;

// What an element reads while its band is laid out.
struct EvalContext {
    const Report* report = nullptr;
    const RowView* row = nullptr; // the row the band prints, or none
    int pageNumber = 0;
    QDateTime printTime; // the same for every page of a run
};

// An item of a band, placed in millimetres from the band's top-left corner
// (the left page margin). Elements keep whatever a before-print hook set on
// them from one band to the next, as the printed items of a layout do.
class Element {
public:
    enum class Type { Text, Field, System, Total, Shape, Image };

    Element(Type type, const QRectF& rectMm, const QString& name);
    virtual ~Element() = default;
    Element(const Element&) = delete;
    Element& operator=(const Element&) = delete;

    Type type() const { return m_type; }
    const QString& name() const { return m_name; }
    QRectF rect() const { return m_rect; }
    void setRect(const QRectF& rectMm) { m_rect = rectMm; }
    bool isVisible() const { return m_visible; }
    void setVisible(bool visible) { m_visible = visible; }

    // Called when a run of the report starts.
    virtual void beginRun() {}

private:
    Type m_type;
    QRectF m_rect;
    QString m_name;
    bool m_visible = true;
};

} // namespace kv::report
