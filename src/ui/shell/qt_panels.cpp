#include "ui/shell/qt_panels.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QStringList>
#include <functional>

#include "ui/shell/model_bridge.h"

namespace kesta::ui {

namespace {

// What the files of an extension are called in the panel's type menu.
QString kindOf(const std::string& extension) {
  if (extension == "xml") return QObject::tr("rekordbox XML");
  if (extension == "txt") return QObject::tr("Plain text");
  if (extension == "csv") return QObject::tr("Comma-separated text");
  if (extension == "png") return QObject::tr("PNG image");
  return QString::fromStdString(extension).toUpper();
}

// A dialog with the message on top and the file dialog below it; the dialog
// ends when the file dialog does, with its result.
std::unique_ptr<QDialog> panelAround(const std::string& title, const std::string& message, QWidget* parent,
                                     const std::function<void(QFileDialog&)>& setUp) {
  auto panel = std::make_unique<QDialog>(parent);
  panel->setWindowTitle(toQString(title));
  panel->setModal(true);
  auto* column = new QVBoxLayout(panel.get());
  column->setContentsMargins(12, 12, 12, 6);
  column->setSpacing(6);
  if (!message.empty()) {
    auto* label = new QLabel(toQString(message));
    label->setObjectName(QStringLiteral("panelMessage"));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    column->addWidget(label);
  }
  auto* files = new QFileDialog;
  files->setWindowFlags(Qt::Widget);
  files->setOption(QFileDialog::DontUseNativeDialog);
  files->setDirectory(QDir::home());
  setUp(*files);
  column->addWidget(files, 1);
  QObject::connect(files, &QFileDialog::finished, panel.get(), &QDialog::done);
  panel->resize(720, 460);
  return panel;
}

}  // namespace

QString QtPanels::filterFor(const std::vector<std::string>& extensions) {
  if (extensions.empty()) return QObject::tr("All files (*)");
  QStringList patterns;
  for (const std::string& extension : extensions) patterns << QStringLiteral("*.") + toQString(extension);
  return kindOf(extensions.front()) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
         QLatin1Char(')');
}

std::unique_ptr<QDialog> QtPanels::makeOpenPanel(const model::OpenPanelRequest& request, QWidget* parent) {
  return panelAround(request.title, request.message, parent, [&request](QFileDialog& files) {
    files.setAcceptMode(QFileDialog::AcceptOpen);
    files.setFileMode(QFileDialog::ExistingFile);
    files.setNameFilter(filterFor(request.extensions));
  });
}

std::unique_ptr<QDialog> QtPanels::makeSavePanel(const model::SavePanelRequest& request, QWidget* parent) {
  return panelAround(request.title, request.message, parent, [&request](QFileDialog& files) {
    files.setAcceptMode(QFileDialog::AcceptSave);
    files.setFileMode(QFileDialog::AnyFile);
    files.setNameFilter(filterFor(request.extensions));
    if (!request.extensions.empty()) files.setDefaultSuffix(toQString(request.extensions.front()));
    files.selectFile(toQString(request.suggestedName));
  });
}

std::optional<std::filesystem::path> QtPanels::run(QDialog& panel) {
  if (panel.exec() != QDialog::Accepted) return std::nullopt;
  const auto* files = panel.findChild<QFileDialog*>();
  const QStringList chosen = files ? files->selectedFiles() : QStringList{};
  if (chosen.isEmpty()) return std::nullopt;
  return std::filesystem::path(QFile::encodeName(chosen.front()).toStdString());
}

std::optional<std::filesystem::path> QtPanels::chooseFile(const model::OpenPanelRequest& request) {
  const auto panel = makeOpenPanel(request, QApplication::activeWindow());
  return run(*panel);
}

std::optional<std::filesystem::path> QtPanels::chooseSaveLocation(const model::SavePanelRequest& request) {
  const auto panel = makeSavePanel(request, QApplication::activeWindow());
  return run(*panel);
}

}  // namespace kesta::ui
