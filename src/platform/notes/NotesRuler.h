#pragma once

#include <QWidget>

namespace kv::notes {

// The ruler above the notes: tab marks and the three indent markers of the
// paragraph (first line, left, right), placed from the indents in points at
// 4/3 pixels a point with a gutter of 6 pixels.
class NotesRuler : public QWidget {
    Q_OBJECT
public:
    explicit NotesRuler(QWidget* parent = nullptr);

    void setIndents(double firstIndent, double leftIndent, double rightIndent);
    int firstMarker() const { return m_first; }
    int leftMarker() const { return m_left; }
    int rightMarker() const { return m_right; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void place();

    double m_firstIndent = 0;
    double m_leftIndent = 0;
    double m_rightIndent = 0;
    int m_first = 0;
    int m_left = 0;
    int m_right = 0;
};

} // namespace kv::notes
