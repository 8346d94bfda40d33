// `corvanthe edit` with the Qt port on Qt's offscreen platform: the real dialog window opens,
// user input made by QtTest reaches the dialog logic, OK writes what the recorded settings
// render, Cancel writes nothing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include <stdlib.h>

#include "apps/cli/render_command.h"
#include "host/plugin_main.h"
#include "ui/control_table.h"
#include "ui/layout.h"
#include "ui/qt/qt_port.h"

namespace corvanthe {
namespace {

namespace fs = std::filesystem;

QApplication& application() {
    static int argc = 1;
    static char name[] = "qt_edit_tests";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 1);  // never a window on the tester's screen
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// Runs `corvanthe edit` with the Qt port while `user` acts on the dialog once it is up.
int edit_with(const cli::RenderOptions& options, const std::function<void(QWidget&)>& user) {
    application();
    ui::QtPort port;
    ui::set_port(&port);
    bool acted = false;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        acted = dialog != nullptr;
        if (dialog) user(*dialog);
        else QApplication::exit();
    });
    const int code = cli::run_edit(options, PluginMain);
    ui::set_port(nullptr);
    EXPECT_TRUE(acted) << "no dialog came up";
    return code;
}

QPoint centre(int32_t id) {
    const ui::Rect r = ui::layout_rect(id);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// The toolkit's own control at the place the layout gives it.
template <class W>
W* control_at(QWidget& dialog, int32_t id) {
    return qobject_cast<W*>(dialog.childAt(centre(id)));
}

void drag(QWidget& dialog, QPoint from, QPoint to) {
    QTest::mousePress(&dialog, Qt::LeftButton, {}, from);
    QTest::mouseMove(&dialog, to);
    QTest::mouseRelease(&dialog, Qt::LeftButton, {}, to);
}

void click(QWidget& dialog, QPoint at) {
    QTest::mousePress(&dialog, Qt::LeftButton, {}, at);
    QTest::mouseRelease(&dialog, Qt::LeftButton, {}, at);
}

std::string bytes_of(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

fs::path scratch(const std::string& name) {
    const fs::path folder = fs::path(CORVANTHE_QT_TEST_FOLDER);
    fs::create_directories(folder);
    fs::remove(folder / name);
    return folder / name;
}

TEST(QtEdit, TheDialogOpensAtItsSizeAndCancelWritesNothing) {
    cli::RenderOptions options;
    options.output = scratch("cancelled.png").string();
    options.quiet = true;
    const int code = edit_with(options, [](QWidget& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Corvanthe");
        EXPECT_EQ(dialog.width(), ui::kDialogWidth);
        EXPECT_EQ(dialog.height(), ui::kDialogHeight);
        // The controls the toolkit makes sit where the layout puts them (push buttons with
        // their 2-pixel frame around the place).
        const ui::Rect place = ui::layout_rect(ui::id::kOk);
        QPushButton* ok = control_at<QPushButton>(dialog, ui::id::kOk);
        ASSERT_NE(ok, nullptr);
        EXPECT_EQ(ok->text(), "&OK");
        EXPECT_TRUE(ok->geometry().contains(QRect(place.left, place.top, place.width(), place.height())));
        EXPECT_LE(ok->width(), place.width() + 2);
        EXPECT_NE(control_at<QLineEdit>(dialog, 86), nullptr);
        // A picture of the opened dialog, for a person to look at.
        EXPECT_TRUE(dialog.grab().save(QString::fromStdString(scratch("opened_dialog.png").string())));
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(code, cli::kExitFilterFailed);
    EXPECT_FALSE(fs::exists(options.output));
}

TEST(QtEdit, AScriptedRunWritesWhatItsRecordedSettingsRender) {
    cli::RenderOptions options;
    options.output = scratch("edited.png").string();
    options.record = scratch("edited.json").string();
    options.quiet = true;
    options.sets = {"sun radius=20"};
    const int code = edit_with(options, [](QWidget& dialog) {
        // Sun radius slider dragged to about two thirds, the colour field typed in.
        const ui::Rect slider = ui::layout_rect(37);
        drag(dialog, centre(37), {slider.left + slider.width() * 2 / 3, centre(37).y()});
        QLineEdit* radius = control_at<QLineEdit>(dialog, 86);
        ASSERT_NE(radius, nullptr);
        EXPECT_NE(radius->text(), "20") << "the drag did not reach the logic";
        QLineEdit* colour = control_at<QLineEdit>(dialog, 85);
        ASSERT_NE(colour, nullptr);
        colour->selectAll();
        QTest::keyClicks(colour, "63");
        QPushButton* dice = control_at<QPushButton>(dialog, ui::id::kDice);
        ASSERT_NE(dice, nullptr);
        QTest::mouseClick(dice, Qt::LeftButton);
        // Store into the first memory dot, move the radius, recall the dot.
        click(dialog, centre(ui::id::kFirstDot));
        const QString stored = radius->text();
        // Towards the low end, or the high end when the dice already chose the lowest radius.
        drag(dialog, centre(37), {slider.left + 2, centre(37).y()});
        if (radius->text() == stored) drag(dialog, centre(37), {slider.right - 2, centre(37).y()});
        EXPECT_NE(radius->text(), stored);
        click(dialog, centre(ui::id::kFirstDot));
        EXPECT_EQ(radius->text(), stored) << "the dot was not recalled";
        // Zooming in shows the new percentage on the 100 % button (a caption the logic writes).
        QPushButton* percent = control_at<QPushButton>(dialog, ui::id::kZoom100);
        ASSERT_NE(percent, nullptr);
        const QString before = percent->text();
        QTest::mouseClick(control_at<QPushButton>(dialog, ui::id::kZoomOut), Qt::LeftButton);
        QTest::mouseClick(control_at<QPushButton>(dialog, ui::id::kZoomIn), Qt::LeftButton);
        QTest::mouseClick(control_at<QPushButton>(dialog, ui::id::kZoomIn), Qt::LeftButton);
        EXPECT_NE(percent->text(), before);
        QTest::mouseClick(percent, Qt::LeftButton);
        // A click in the preview places the centre; Enter answers with the default button.
        click(dialog, {480, 120});
        QTest::keyClick(&dialog, Qt::Key_Return);
    });
    ASSERT_EQ(code, cli::kExitSuccess);

    cli::RenderOptions replay;
    replay.output = scratch("replayed.png").string();
    replay.play = options.record;
    replay.quiet = true;
    ASSERT_EQ(cli::run_render(replay, PluginMain), cli::kExitSuccess);
    cli::RenderOptions plain;
    plain.output = scratch("plain.png").string();
    plain.sets = options.sets;
    plain.quiet = true;
    ASSERT_EQ(cli::run_render(plain, PluginMain), cli::kExitSuccess);

    const std::string edited = bytes_of(options.output);
    ASSERT_FALSE(edited.empty());
    EXPECT_EQ(edited, bytes_of(replay.output));
    EXPECT_NE(edited, bytes_of(plain.output)) << "the dialog's changes did not reach the output";
}

// Acts on the file chooser that the next click opens, once it is up.
void on_next_chooser(const std::function<void(QFileDialog&)>& user) {
    QTimer::singleShot(0, [user] {
        auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(chooser, nullptr) << "no file chooser came up";
        user(*chooser);
    });
}

TEST(QtEdit, SaveWritesThePresetAndLoadsChooserShowsItsThumbnail) {
    const fs::path preset = scratch("saved.q4q");
    cli::RenderOptions options;
    options.output = scratch("after_load.png").string();
    options.quiet = true;
    bool thumbnail_shown = false;
    QString save_title, load_title;
    const int code = edit_with(options, [&](QWidget& dialog) {
        on_next_chooser([&](QFileDialog& chooser) {
            save_title = chooser.windowTitle();
            chooser.selectFile(QString::fromStdString(preset.string()));
            static_cast<QDialog&>(chooser).accept();  // as the Save button does
        });
        QTest::mouseClick(control_at<QPushButton>(dialog, ui::id::kSave), Qt::LeftButton);
        on_next_chooser([&](QFileDialog& chooser) {
            load_title = chooser.windowTitle();
            chooser.selectFile(QString::fromStdString(preset.string()));
            QLabel* area = nullptr;
            for (QLabel* label : chooser.findChildren<QLabel*>())
                if (label->size() == QSize(132, 132)) area = label;
            ASSERT_NE(area, nullptr) << "the chooser has no picture area";
            thumbnail_shown = QTest::qWaitFor([area] { return !area->pixmap().isNull(); }, 10000);
            chooser.reject();
        });
        QTest::mouseClick(control_at<QPushButton>(dialog, ui::id::kLoad), Qt::LeftButton);
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(code, cli::kExitFilterFailed);
    EXPECT_EQ(save_title, "Save a settings file");
    EXPECT_EQ(load_title, "Open a settings file");
    EXPECT_TRUE(fs::exists(preset));
    EXPECT_TRUE(thumbnail_shown);
}

}  // namespace
}  // namespace corvanthe
