#include "quiz_window/qt/display_text.h"

#include <string>

#include "support/encoding.h"

namespace quiz_qt {

QString display_string(const quiz::Text& text) {
  const std::string utf8 = quiz::gb18030_to_utf8_lossy(text);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString display_lines(const quiz::Text& text) {
  QString lines = display_string(text);
  lines.replace(QStringLiteral("\r\n"), QString(QChar::LineSeparator));
  lines.replace(QLatin1Char('\r'), QChar::LineSeparator);
  lines.replace(QLatin1Char('\n'), QChar::LineSeparator);
  return lines;
}

quiz::Text text_from_typed(const QString& typed) {
  const QByteArray utf8 = typed.toUtf8();
  return quiz::bytes_to_text(
      quiz::utf8_to_gb18030_lossy(std::string_view(utf8.constData(), utf8.size())));
}

}  // namespace quiz_qt
