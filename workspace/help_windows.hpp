#pragma once

// The help, about and disclaimer windows and the maker's web pages.
//
// The help is a set of HTML pages shipped beside the program: "help/<set>/index.html" and the
// pages it links to. The help setting names a help file "<folder>/<set>.chm" as it always did;
// its name without folder and extension chooses the set, and the English set stands in for one
// that is not installed.

#include <QDialog>
#include <QUrl>
#include <filesystem>
#include <functional>
#include <string>

class QLabel;
class QTextBrowser;

namespace kelvra {

// The maker's pages that the On-Line menu opens.
inline constexpr const char* kWebSiteAddress = "https://www.halvorn.example/kelvra/";
inline constexpr const char* kDownloadAddress = "https://www.halvorn.example/kelvra/download/";

// The page and anchor a help context number opens: 1 the first steps, 7 the envelope, 12 the
// performance table, 13 the drawing, 19 the controls, 21 the heat pumps; any other number the
// contents.
std::string HelpTopicFor(int context);

// The help page of a help setting for a context: "help/<set>/<page>" of the installation folder,
// the English set when the chosen one is missing; empty when no help is installed.
std::filesystem::path HelpPageFor(const std::filesystem::path& installation,
                                  const std::string& helpSetting, int context);

// The disclaimer: "Eula/eula<code>.dat" of the installation folder (language code "01", "02" ...),
// else the built-in text.
std::string DisclaimerText(const std::filesystem::path& installation, const std::string& languageCode);
std::string BuiltInDisclaimer();

// Opens an address with the user's programs; a failure tells the user "strNoBrowser".
bool OpenWebPage(const QUrl& url, const std::function<bool(const QUrl&)>& opener,
                 const std::function<void(const QString&)>& errorNotice);

class TfrmHelp : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmHelp(QWidget* parent = nullptr);
    // Shows a page ("file.html" or "file.html#anchor"); false when it cannot be read.
    bool showPage(const std::filesystem::path& page);
    QTextBrowser* browser() const { return browser_; }

  private:
    QTextBrowser* browser_ = nullptr;
};

class TfrmAbout : public QDialog {
    Q_OBJECT
  public:
    TfrmAbout(const std::filesystem::path& installation, const QString& versionLine,
              QWidget* parent = nullptr);
    QString productLine() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLabel* picture_ = nullptr;
    QLabel* lblProduct_ = nullptr;
    QLabel* lblLetters_ = nullptr;
};

class TfrmDisclaimer : public QDialog {
    Q_OBJECT
  public:
    TfrmDisclaimer(const QString& text, QWidget* parent = nullptr);
};

}  // namespace kelvra
