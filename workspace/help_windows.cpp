#include "help_windows.hpp"

#include <QDialogButtonBox>
#include <QEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <optional>

#include "file_names.hpp"
#include "language_texts.hpp"
#include "safe_file.hpp"
#include "startup_choices.hpp"
#include "startup_window.hpp"

namespace kelvra {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The folder in `parent` named `name` ignoring case; the exact name wins.
std::optional<std::filesystem::path> FolderIgnoringCase(const std::filesystem::path& parent,
                                                        const std::string& name) {
    std::error_code ec;
    if (std::filesystem::is_directory(parent / name, ec)) return parent / name;
    for (std::filesystem::directory_iterator it(parent, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code inner;
        if (it->is_directory(inner) && EqualIgnoringCase(it->path().filename().string(), name))
            return it->path();
    }
    return std::nullopt;
}

}  // namespace

std::string HelpTopicFor(int context) {
    switch (context) {
        case 1: return "getting_started.html";
        case 7: return "selection.html#envelope";
        case 12: return "selection.html#table";
        case 13: return "selection.html#drawing";
        case 19: return "conditions.html#controls";
        case 21: return "conditions.html#heat-pumps";
        default: return "index.html";
    }
}

std::filesystem::path HelpPageFor(const std::filesystem::path& installation,
                                  const std::string& helpSetting, int context) {
    const std::string topic = HelpTopicFor(context);
    const std::size_t hash = topic.find('#');
    const std::string file = topic.substr(0, hash);
    const std::string anchor = hash == std::string::npos ? std::string() : topic.substr(hash);

    const std::string chosen = HelpSetOf(helpSetting);
    const std::filesystem::path help = installation / "help";
    for (const std::string& set : {chosen, std::string("english")}) {
        if (set.empty() || !IsPlainFileName(set)) continue;
        const auto folder = FolderIgnoringCase(help, set);
        if (!folder) continue;
        std::error_code ec;
        if (std::filesystem::is_regular_file(*folder / file, ec))
            return std::filesystem::path((*folder / file).string() + anchor);
        if (std::filesystem::is_regular_file(*folder / "index.html", ec)) return *folder / "index.html";
    }
    return {};
}

std::string BuiltInDisclaimer() {
    return "Halvorn provides this software to assist with the selection of compressors, condensing "
           "units and Orda controls. Halvorn accepts no liability for any issue arising from "
           "applying them with information obtained from this software.\n\n"
           "Running-cost information is given for comparison only. Halvorn accepts no liability "
           "for measured running costs that differ from the predictions of this software.";
}

std::string DisclaimerText(const std::filesystem::path& installation, const std::string& languageCode) {
    const std::filesystem::path file = installation / "Eula" / ("eula" + languageCode + ".dat");
    const FileContents contents = ReadWholeFile(file, 1024u * 1024u);
    if (contents.exists && contents.status && !contents.bytes.empty())
        return std::string(contents.bytes.begin(), contents.bytes.end());
    return BuiltInDisclaimer();
}

bool OpenWebPage(const QUrl& url, const std::function<bool(const QUrl&)>& opener,
                 const std::function<void(const QString&)>& errorNotice) {
    if (opener && opener(url)) return true;
    if (errorNotice)
        errorNotice(Q(Text("strNoBrowser", "No web browser could be started to show the page.")));
    return false;
}

// ---------------------------------------------------------------------------------------------

TfrmHelp::TfrmHelp(QWidget* parent) : QDialog(parent) {
    setObjectName("frmHelp");
    setWindowTitle(Q(Text("frmHelp", "Kelvra Help")));
    auto* layout = new QVBoxLayout(this);
    browser_ = new QTextBrowser(this);
    browser_->setObjectName("helpBrowser");
    browser_->setOpenExternalLinks(true);
    layout->addWidget(browser_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(720, 560);
}

bool TfrmHelp::showPage(const std::filesystem::path& page) {
    const std::string text = page.string();
    const std::size_t hash = text.find('#');
    const std::filesystem::path file = text.substr(0, hash);
    std::error_code ec;
    if (file.empty() || !std::filesystem::is_regular_file(file, ec)) return false;
    QUrl url = QUrl::fromLocalFile(Q(file.string()));
    if (hash != std::string::npos) url.setFragment(Q(text.substr(hash + 1)));
    browser_->setSource(url);
    return !browser_->toPlainText().isEmpty();
}

// ---------------------------------------------------------------------------------------------

TfrmAbout::TfrmAbout(const std::filesystem::path& installation, const QString& versionLine,
                     QWidget* parent)
    : QDialog(parent) {
    setObjectName("frmAbout");
    setWindowTitle(Q(Text("frmAbout", "About Kelvra")));
    auto* layout = new QVBoxLayout(this);
    picture_ = new QLabel(this);
    picture_->setObjectName("imgAbout");
    picture_->setPixmap(ProgramBanner(installation));
    picture_->installEventFilter(this);
    layout->addWidget(picture_);
    lblProduct_ = new QLabel(versionLine, this);
    lblProduct_->setObjectName("lblProduct");
    lblProduct_->setAlignment(Qt::AlignCenter);
    layout->addWidget(lblProduct_);
    lblLetters_ = new QLabel(this);
    lblLetters_->setObjectName("lblLetters");
    lblLetters_->setAlignment(Qt::AlignCenter);
    lblLetters_->setVisible(false);
    layout->addWidget(lblLetters_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

QString TfrmAbout::productLine() const { return lblProduct_->text(); }

bool TfrmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == picture_ && event->type() == QEvent::MouseButtonDblClick) {
        lblLetters_->setText("Version letters AY");
        lblLetters_->setVisible(true);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------

TfrmDisclaimer::TfrmDisclaimer(const QString& text, QWidget* parent) : QDialog(parent) {
    setObjectName("frmDisclaimer");
    setWindowTitle(Q(Text("strSelect", "Kelvra 7.7")));
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(Q(Text("mnuDisclaimer", "Disclaimer")).remove('&'), this);
    title->setObjectName("lblTitle");
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    title->setFont(bold);
    layout->addWidget(title);
    auto* body = new QPlainTextEdit(text, this);
    body->setObjectName("memDisclaimer");
    body->setReadOnly(true);
    layout->addWidget(body, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    resize(520, 360);
}

}  // namespace kelvra
