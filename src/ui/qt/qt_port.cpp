#include "ui/qt/qt_port.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>
#include <QWindow>

#include <memory>

#include "platform/product.h"
#include "ui/qt/qt_dialog.h"
#include "ui/qt/qt_pictures.h"

namespace corvanthe::ui {
namespace {

// The one filter of each use: description and patterns, and the default extension.
struct FileFilter {
    const char* filter;
    const char* extension;
};

FileFilter filter_of(FileUse use) {
    switch (use) {
        case FileUse::Bitmap: return {"Bitmap files (*.bmp)", "bmp"};
        case FileUse::Presets: return {"Corvanthe presets (*.q4q)", "q4q"};
        case FileUse::HtmlPage: return {"HTML files (*.html)", "html"};
        case FileUse::AllFiles: return {"All files (*)", ""};
        case FileUse::AllImages:
            return {"All Image Files (*.bmp *.dib *.wdp *.mdp *.hdp *.gif *.png *.jpg *.jpeg *.tif *.ico)", ""};
    }
    return {"All files (*)", ""};
}

// The picture area beside the chooser's own controls: the thumbnail of the selected file.
void add_thumbnail_area(QFileDialog& chooser, const FileChoice& choice) {
    auto* grid = qobject_cast<QGridLayout*>(chooser.layout());
    if (!grid) return;
    auto* area = new QLabel(&chooser);
    area->setFixedSize(132, 132);
    area->setAlignment(Qt::AlignCenter);
    area->setFrameShape(QFrame::StyledPanel);
    grid->addWidget(area, 0, grid->columnCount(), grid->rowCount(), 1);
    const auto show = [area, &chooser, thumbnail = choice.thumbnail](const QString& name) {
        const QString path = chooser.directory().absoluteFilePath(name);
        RgbaImage picture;
        const bool found = QFileInfo(path).isFile() && thumbnail(path.toStdString(), picture) && picture.width > 0;
        area->setPixmap(found ? QPixmap::fromImage(qt_image(picture)) : QPixmap());
    };
    // A file clicked in the list, and a name typed (or put there by the chooser).
    QObject::connect(&chooser, &QFileDialog::currentChanged, area, show);
    if (auto* name = chooser.findChild<QLineEdit*>("fileNameEdit"))
        QObject::connect(name, &QLineEdit::textChanged, area, show);
}

}  // namespace

void QtPort::show_message(void*, const MessageDialog& dialog) {
    static bool open = false;  // a second request while a box is up is ignored
    if (open) return;
    open = true;
    const bool about = std::string_view(dialog.resource) == "ABOUTBOX";
    QString text = QString::fromUtf8(dialog.text);
    if (about) text = QString("%1\nDraws fantasy suns\nby %2").arg(product::kName, product::kMaker);
    QMessageBox box(about ? QMessageBox::NoIcon : QMessageBox::Warning, QString::fromUtf8(dialog.title), text,
                    QMessageBox::NoButton, dialog_);
    QPushButton* visit = about ? box.addButton("Visit Tallow Heron's website...", QMessageBox::AcceptRole) : nullptr;
    if (!about) box.addButton(QMessageBox::Ok);
    box.exec();
    if (visit && box.clickedButton() == visit) open_with_desktop(product::kWebAddress);
    open = false;
}

int QtPort::run_main_dialog(void* owner, DialogClient& client) {
    // The host's own window, by its X11 id: the dialog stays above it; the window manager
    // places it. It outlives the dialog.
    std::unique_ptr<QWindow> host;
    if (owner && QGuiApplication::platformName() == "xcb") host.reset(QWindow::fromWinId(reinterpret_cast<WId>(owner)));
    QtDialog dialog(client, nullptr);
    dialog.setModal(true);
    if (host) {
        dialog.winId();
        dialog.windowHandle()->setTransientParent(host.get());
    }
    dialog_ = &dialog;
    const int code = dialog.run();
    dialog_ = nullptr;
    return code;
}

bool QtPort::choose_colour(void*, const std::string& prompt, Colour& rgb) {
    // QColorDialog keeps its custom colours for the whole process.
    const QColor chosen = QColorDialog::getColor(QColor::fromRgb(rgb), dialog_, QString::fromStdString(prompt));
    if (!chosen.isValid()) return false;
    rgb = Colour(chosen.rgb() & 0xFFFFFF);
    return true;
}

bool QtPort::choose_file(bool save, const FileChoice& choice, std::string& path) {
    if (file_dialog_open_) return false;
    file_dialog_open_ = true;
    const FileFilter filter = filter_of(choice.use);
    QFileDialog chooser(dialog_, QString::fromStdString(choice.title), QString::fromStdString(choice.folder),
                        filter.filter);
    chooser.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    chooser.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    chooser.setDefaultSuffix(filter.extension);
    if (save) chooser.selectFile(QString::fromStdString(choice.suggested_name));
    if (!save && choice.thumbnail) {
        chooser.setOption(QFileDialog::DontUseNativeDialog);
        add_thumbnail_area(chooser, choice);
    }
    const bool accepted = chooser.exec() == QDialog::Accepted && !chooser.selectedFiles().isEmpty();
    if (accepted) path = chooser.selectedFiles().front().toStdString();
    file_dialog_open_ = false;
    return accepted;
}

bool QtPort::open_file(void*, const FileChoice& choice, std::string& path) { return choose_file(false, choice, path); }
bool QtPort::save_file(void*, const FileChoice& choice, std::string& path) { return choose_file(true, choice, path); }

void QtPort::open_with_desktop(const std::string& target) {
    const QString text = QString::fromStdString(target);
    QDesktopServices::openUrl(text.contains("://") ? QUrl(text) : QUrl::fromLocalFile(text));
}

}  // namespace corvanthe::ui
