#include "imaging/libs/crde/SaneScanner.h"

#include "imaging/dib/ImagingSettings.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <sane/sane.h>
#include <sane/saneopts.h>

#include <cstring>
#include <vector>

namespace kv::imaging::crde {
namespace {

// SANE is started once and kept for the rest of the run: its backends stay
// loaded, and a device is opened and closed around each scan.
class SaneSession {
public:
    SaneSession()
    {
        static const bool started = sane_init(nullptr, nullptr) == SANE_STATUS_GOOD;
        m_ok = started;
    }
    bool ok() const { return m_ok; }

private:
    bool m_ok = false;
};

class SaneDevice {
public:
    explicit SaneDevice(const QByteArray& name) { m_ok = sane_open(name.constData(), &m_handle) == SANE_STATUS_GOOD; }
    ~SaneDevice()
    {
        if (m_ok)
            sane_close(m_handle);
    }
    SaneDevice(const SaneDevice&) = delete;
    SaneDevice& operator=(const SaneDevice&) = delete;
    bool ok() const { return m_ok; }
    SANE_Handle handle() const { return m_handle; }

    int optionIndex(const char* name) const
    {
        for (int i = 1;; ++i) {
            const SANE_Option_Descriptor* d = sane_get_option_descriptor(m_handle, i);
            if (!d)
                return -1;
            if (d->name && std::strcmp(d->name, name) == 0)
                return i;
        }
    }

    bool offers(const char* option, const char* value) const
    {
        const int i = optionIndex(option);
        if (i < 0)
            return false;
        const SANE_Option_Descriptor* d = sane_get_option_descriptor(m_handle, i);
        if (d->constraint_type != SANE_CONSTRAINT_STRING_LIST)
            return false;
        for (const SANE_String_Const* s = d->constraint.string_list; *s; ++s)
            if (std::strcmp(*s, value) == 0)
                return true;
        return false;
    }

    // Sets an option from its text; options the device lacks are left alone.
    void set(const char* option, const QString& text) const
    {
        const int i = optionIndex(option);
        if (i < 0)
            return;
        const SANE_Option_Descriptor* d = sane_get_option_descriptor(m_handle, i);
        if (!SANE_OPTION_IS_ACTIVE(d->cap) || !SANE_OPTION_IS_SETTABLE(d->cap))
            return;
        switch (d->type) {
        case SANE_TYPE_BOOL: {
            SANE_Bool v = (text == QLatin1String("yes") || text == QLatin1String("1")) ? SANE_TRUE : SANE_FALSE;
            sane_control_option(m_handle, i, SANE_ACTION_SET_VALUE, &v, nullptr);
            break;
        }
        case SANE_TYPE_INT: {
            SANE_Int v = text.toInt();
            sane_control_option(m_handle, i, SANE_ACTION_SET_VALUE, &v, nullptr);
            break;
        }
        case SANE_TYPE_FIXED: {
            SANE_Fixed v = SANE_FIX(text.toDouble());
            sane_control_option(m_handle, i, SANE_ACTION_SET_VALUE, &v, nullptr);
            break;
        }
        case SANE_TYPE_STRING: {
            std::vector<char> v(std::size_t(qMax<SANE_Int>(d->size, 1)), '\0');
            const QByteArray bytes = text.toUtf8();
            std::strncpy(v.data(), bytes.constData(), v.size() - 1);
            sane_control_option(m_handle, i, SANE_ACTION_SET_VALUE, v.data(), nullptr);
            break;
        }
        default: break;
        }
    }

private:
    SANE_Handle m_handle = nullptr;
    bool m_ok = false;
};

QByteArray chosenDevice()
{
    return iniValue(twainSettingsFile(), QStringLiteral("Imaging Twain"), QStringLiteral("Source")).toUtf8();
}

// Turns the bytes of one frame into a picture.
QImage frameImage(const SANE_Parameters& p, const QByteArray& data, int lines)
{
    const int w = p.pixels_per_line;
    QImage image(w, lines, p.format == SANE_FRAME_RGB ? QImage::Format_RGB32 : QImage::Format_Grayscale8);
    if (p.depth == 1 && p.format == SANE_FRAME_GRAY) {
        image = QImage(w, lines, QImage::Format_Mono);
        image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)}); // SANE line art: 1 is black
    }
    if (image.isNull())
        return image;
    const int step = p.depth == 16 ? 2 : 1;
    for (int y = 0; y < lines; ++y) {
        const auto* src = reinterpret_cast<const unsigned char*>(data.constData()) + qsizetype(y) * p.bytes_per_line;
        uchar* dst = image.scanLine(y);
        if (p.depth == 1 && p.format == SANE_FRAME_GRAY) {
            std::memcpy(dst, src, (w + 7) / 8);
        } else if (p.format == SANE_FRAME_RGB) {
            auto* line = reinterpret_cast<QRgb*>(dst);
            // 16-bit samples are in the host's byte order; the high byte is enough.
            const int hi = step == 2 ? 1 : 0;
            for (int x = 0; x < w; ++x)
                line[x] = qRgb(src[(3 * x) * step + hi], src[(3 * x + 1) * step + hi], src[(3 * x + 2) * step + hi]);
        } else {
            const int hi = step == 2 ? 1 : 0;
            for (int x = 0; x < w; ++x)
                dst[x] = src[x * step + hi];
        }
    }
    return image;
}

std::int16_t statusCode(SANE_Status status)
{
    return status == SANE_STATUS_CANCELLED ? abi::kCancelled : abi::kScanFailed;
}

} // namespace

QStringList scannerDevices()
{
    QStringList names;
    SaneSession session;
    if (!session.ok())
        return names;
    const SANE_Device** devices = nullptr;
    if (sane_get_devices(&devices, SANE_TRUE) != SANE_STATUS_GOOD || !devices)
        return names;
    for (int i = 0; devices[i]; ++i)
        names << QString::fromUtf8(devices[i]->name) + QLatin1Char('\t') + QString::fromUtf8(devices[i]->vendor)
                     + QLatin1Char(' ') + QString::fromUtf8(devices[i]->model);
    return names;
}

std::int16_t scanPage(const QString& mode, QImage& out, void* control, abi::ProgressProc progress)
{
    SaneSession session;
    if (!session.ok())
        return abi::kNoScanner;
    QByteArray name = chosenDevice();
    const SANE_Device** devices = nullptr;
    if (sane_get_devices(&devices, SANE_TRUE) != SANE_STATUS_GOOD || !devices || !devices[0])
        return abi::kNoScanner;
    bool known = false;
    for (int i = 0; devices[i]; ++i)
        known = known || name == devices[i]->name;
    if (!known)
        name = devices[0]->name;
    SaneDevice device(name);
    if (!device.ok())
        return abi::kNoScanner;

    if (mode == QLatin1String("Lineart") && !device.offers(SANE_NAME_SCAN_MODE, "Lineart")) {
        device.set(SANE_NAME_SCAN_MODE, QStringLiteral("Gray"));
        device.set(SANE_NAME_BIT_DEPTH, QStringLiteral("1"));
    } else {
        device.set(SANE_NAME_SCAN_MODE, mode);
        if (mode != QLatin1String("Lineart"))
            device.set(SANE_NAME_BIT_DEPTH, QStringLiteral("8"));
    }
    for (const auto& [key, value] : iniSection(twainSettingsFile(), QStringLiteral("Scanner Options")))
        device.set(key.toUtf8().constData(), value);

    SANE_Status status = sane_start(device.handle());
    if (status != SANE_STATUS_GOOD)
        return statusCode(status);
    SANE_Parameters params;
    if (sane_get_parameters(device.handle(), &params) != SANE_STATUS_GOOD || !params.last_frame
        || (params.format != SANE_FRAME_GRAY && params.format != SANE_FRAME_RGB) || params.bytes_per_line <= 0) {
        sane_cancel(device.handle());
        return abi::kScanFailed;
    }
    const qsizetype expected = params.lines > 0 ? qsizetype(params.lines) * params.bytes_per_line : 0;
    QByteArray data;
    data.reserve(expected > 0 ? expected : 1 << 20);
    std::vector<SANE_Byte> buffer(64 * 1024);
    int lastPercent = -1;
    for (;;) {
        SANE_Int length = 0;
        status = sane_read(device.handle(), buffer.data(), SANE_Int(buffer.size()), &length);
        if (status == SANE_STATUS_EOF)
            break;
        if (status != SANE_STATUS_GOOD) {
            sane_cancel(device.handle());
            return statusCode(status);
        }
        data.append(reinterpret_cast<const char*>(buffer.data()), length);
        const int percent = expected > 0 ? int(qMin<qsizetype>(100, data.size() * 100 / expected)) : 0;
        if (progress && percent != lastPercent) {
            lastPercent = percent;
            if (progress(std::int16_t(percent), control) == 0) {
                sane_cancel(device.handle());
                return abi::kCancelled;
            }
        }
    }
    sane_cancel(device.handle());
    const int lines = int(data.size() / params.bytes_per_line);
    if (lines <= 0)
        return abi::kScanFailed;
    out = frameImage(params, data, lines);
    return out.isNull() ? std::int16_t(abi::kOutOfMemory) : std::int16_t(1);
}

std::int16_t chooseScanner(QWidget* parent)
{
    const QStringList devices = scannerDevices();
    if (devices.isEmpty())
        return abi::kNoScanner;
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("SelectSource"));
    dialog.setWindowTitle(QStringLiteral("Select Source"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("Sources:"), &dialog));
    auto* list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("Sources"));
    const QByteArray current = chosenDevice();
    for (const QString& device : devices) {
        const QString id = device.section(QLatin1Char('\t'), 0, 0);
        auto* item = new QListWidgetItem(
            device.section(QLatin1Char('\t'), 1) + QStringLiteral(" (") + id + QLatin1Char(')'), list);
        item->setData(Qt::UserRole, id);
        if (id.toUtf8() == current)
            list->setCurrentItem(item);
    }
    if (!list->currentItem())
        list->setCurrentRow(0);
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Select"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted || !list->currentItem())
        return abi::kCancelled;
    QDir().mkpath(imagingSettingsFolder());
    const bool written = writeIniValue(twainSettingsFile(), QStringLiteral("Imaging Twain"), QStringLiteral("Source"),
                                       list->currentItem()->data(Qt::UserRole).toString());
    return written ? std::int16_t(1) : std::int16_t(abi::kCannotWrite);
}

} // namespace kv::imaging::crde
