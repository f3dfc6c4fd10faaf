#pragma once

#include <QWidget>

namespace kv::notes {

// The ruler above the notes: tab marks and the three indent markers of the
// paragraph (first line, left, right), placed from the indents in points at
// 4/3 pixels a point with a gutter of 6 pixels. The first-line indent is
// the first line's distance from the page's left edge, the left indent the
// other lines' distance from the first line. A marker dragged with the
// mouse follows it, held at its middle; dropped, it tells the paragraph's
// new indents.
class NotesRuler : public QWidget {
    Q_OBJECT
public:
    explicit NotesRuler(QWidget* parent = nullptr);

    void setIndents(double firstIndent, double leftIndent, double rightIndent);
    int firstMarker() const { return m_first; }
    int leftMarker() const { return m_left; }
    int rightMarker() const { return m_right; }

    QSize sizeHint() const override;

Q_SIGNALS:
    void indentsDropped(double firstIndent, double leftIndent, double rightIndent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    enum class Marker { None, First, Left, Right };

    void place();
    Marker markerAt(const QPoint& at) const;
    int& markerX(Marker marker);

    double m_firstIndent = 0;
    double m_leftIndent = 0;
    double m_rightIndent = 0;
    int m_first = 0;
    int m_left = 0;
    int m_right = 0;
    Marker m_dragged = Marker::None;
};

} // namespace kv::notes
