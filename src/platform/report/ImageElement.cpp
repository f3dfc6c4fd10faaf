#include "platform/report/ImageElement.h"

#include <QFileInfo>

namespace kv::report {

ImageElement::ImageElement(const QString& file, const QRectF& rectMm, const QString& name)
    : Element(Type::Image, rectMm, name), m_file(file)
{
}

ImageElement& ImageElement::setFile(const QString& file)
{
    if (file != m_file || !m_loaded) {
        m_file = file;
        m_loaded = false;
        m_image = QImage();
    }
    return *this;
}

ImageElement& ImageElement::setImage(const QImage& image)
{
    m_file.clear();
    m_image = image;
    m_loaded = true;
    return *this;
}

QImage ImageElement::image() const
{
    if (!m_loaded) {
        m_loaded = true;
        if (!m_file.isEmpty() && QFileInfo(m_file).isFile())
            m_image.load(m_file);
    }
    return m_image;
}

} // namespace kv::report
