#include "quiz_window/qt/qt_window_host.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdlib>

#include "question_bank/error_locations.h"
#include "question_bank/load_question.h"
#include "quiz_window/check_answer.h"
#include "quiz_window/qt/caption_button.h"
#include "quiz_window/qt/quiz_window.h"
#include "support/fatal_error.h"
#include "support/text_literal.h"

namespace quiz_qt {
namespace {

using quiz::operator""_gb;

// The CJK font the program is drawn with. WenQuanYi Micro Hei is small and its lines are low
// enough for four lines of a caption to fit into an option button.
constexpr const char* kChineseFontFamily = "WenQuanYi Micro Hei";

bool has_environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// Qt ends the process in its platform plugin loader when it cannot reach a display, before the
// program could say anything. A platform that was asked for by name is trusted to be there.
bool display_available() {
  return has_environment("QT_QPA_PLATFORM") || has_environment("DISPLAY") ||
         has_environment("WAYLAND_DISPLAY");
}

QtMessageHandler qt_default_handler = nullptr;

// While the application is being created, a fatal message from Qt (no platform plugin could
// start) is the window that cannot be created.
void start_up_message_handler(QtMsgType type, const QMessageLogContext& context,
                              const QString& message) {
  if (qt_default_handler != nullptr) qt_default_handler(type, context, message);
  if (type == QtFatalMsg) {
    quiz::raise_fatal_error("载入启动窗口失败"_gb, quiz::kMessageGiven,
                            quiz::error_locations::kQuizWindow);
  }
}

// The command line is ignored, so Qt gets none either.
int application_argc = 1;
char application_name[] = "quiz";
char* application_argv[] = {application_name, nullptr};

}  // namespace

void prepare_application(QApplication& application) {
  auto* translator = new QTranslator(&application);
  if (translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                       QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(translator);
  }

  // The system's GUI font for Latin letters, and the chosen CJK font for Chinese characters.
  QFont font = QApplication::font();
  font.setFamilies({font.family(), QString::fromLatin1(kChineseFontFamily)});
  QApplication::setFont(font);

  QIcon icon;
  for (const char* size : {"16", "32", "48"}) {
    icon.addFile(QStringLiteral(":/quiz/icons/quiz_%1.xpm").arg(QLatin1String(size)));
  }
  QApplication::setWindowIcon(icon);

  static QtFatalErrorDisplay error_box;
  quiz::set_fatal_error_display(&error_box);
}

QtWindowHost::QtWindowHost(quiz::RandomSource& random, const quiz::FileServices& files)
    : random_(random), files_(files) {}

QtWindowHost::~QtWindowHost() {
  window_.reset();
  if (application_) {
    quiz::set_fatal_error_display(nullptr);
    application_.reset();
  }
}

bool QtWindowHost::create_window() {
  if (QApplication::instance() == nullptr) {
    if (!display_available()) return false;
    qt_default_handler = qInstallMessageHandler(start_up_message_handler);
    application_ = std::make_unique<QApplication>(application_argc, application_argv);
    qInstallMessageHandler(qt_default_handler);
    prepare_application(*application_);
  }
  window_ = std::make_unique<QuizWindow>();
  connect_actions();
  return true;
}

void QtWindowHost::connect_actions() {
  QuizWindow& window = *window_;
  QObject::connect(window.button(quiz::Control::按钮_开始), &QPushButton::clicked, &window,
                   [this, &window] {
                     if (quiz::fatal_error_raised()) return;
                     quiz::load_question(window, boxes_, random_, files_);
                   });
  for (quiz::Control option : quiz::kOptionButtons) {
    QObject::connect(window.button(option), &QPushButton::clicked, &window,
                     [this, &window, option] {
                       if (quiz::fatal_error_raised()) return;
                       quiz::check_answer(window, boxes_, option);
                     });
  }
}

void QtWindowHost::show_window() { window_->open(); }

void QtWindowHost::run_event_loop() { QApplication::exec(); }

}  // namespace quiz_qt
