#pragma once

#include "platform/report/Document.h"
#include "platform/report/Export.h"

#include <QDialog>
#include <functional>

class QLabel;
class QMenu;
class QPrinter;
class QScrollArea;
class QToolBar;
class QAction;

namespace kv::report {

// The preview of a laid-out report: opens maximised and zoomed to the page
// width, pages through the document, zooms, prints through the printer
// dialog and exports through its export menu.
class PreviewWindow : public QDialog {
    Q_OBJECT
public:
    explicit PreviewWindow(Document document, QWidget* parent = nullptr);
    ~PreviewWindow() override;

    // Shows the preview maximised and waits until the user closes it.
    int exec() override;
    // The same without waiting.
    void showPreview();

    const Document& document() const { return m_document; }
    int pageCount() const { return m_document.pageCount(); }
    int currentPage() const { return m_page; } // 0-based
    void setCurrentPage(int page);

    double zoom() const { return m_zoom; } // 1.0 = real size on the screen
    void setZoom(double zoom); // leaves the page-width fit
    void fitPageWidth();
    void fitWholePage();
    bool fitsPageWidth() const { return m_fit == Fit::Width; }

    // The current page as the preview shows it.
    QImage currentImage() const;

    // Prints the printer's page range (all pages when none is chosen).
    // Throws ReportError when the printer cannot be opened.
    void print(QPrinter& printer);
    // Throws ReportError.
    void exportTo(ExportFormat format, const QString& path);

    // Where messages (a failed export) go; a message box by default. The
    // forms layer installs its message service here.
    void setMessageHandler(std::function<void(const QString&)> handler) { m_message = std::move(handler); }

    QMenu* exportMenu() const { return m_exportMenu; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    enum class Fit { None, Width, Page };
    void buildToolBar();
    void refresh();
    void applyFit();
    void showMessage(const QString& text);
    void askPrint();
    void askExport(ExportFormat format);
    double screenDpi() const;

    Document m_document;
    int m_page = 0;
    double m_zoom = 1.0;
    Fit m_fit = Fit::Width;
    QToolBar* m_toolBar = nullptr;
    QScrollArea* m_scroll = nullptr;
    QLabel* m_view = nullptr;
    QLabel* m_pageLabel = nullptr;
    QLabel* m_zoomLabel = nullptr;
    QMenu* m_exportMenu = nullptr;
    std::vector<QAction*> m_pageActions; // disabled without pages
    std::function<void(const QString&)> m_message;
};

} // namespace kv::report
