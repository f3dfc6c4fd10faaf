#pragma once

#include "platform/report/Element.h"

#include <QImage>

namespace kv::report {

// A picture from a file (a company logo), stretched to its frame or kept
// in proportion. A missing or unreadable file leaves the frame empty.
class ImageElement : public Element {
public:
    ImageElement(const QString& file, const QRectF& rectMm, const QString& name = {});

    const QString& file() const { return m_file; }
    ImageElement& setFile(const QString& file);
    ImageElement& setImage(const QImage& image); // a picture kept with the layout
    bool keepsAspect() const { return m_keepAspect; }
    ImageElement& setKeepAspect(bool keep)
    {
        m_keepAspect = keep;
        return *this;
    }

    QImage image() const; // loads the file once; null when missing

private:
    QString m_file;
    bool m_keepAspect = false;
    mutable QImage m_image;
    mutable bool m_loaded = false;
};

} // namespace kv::report
