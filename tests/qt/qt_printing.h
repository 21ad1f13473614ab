#pragma once
// Lets GoogleTest print the Qt values that tests compare, instead of their raw bytes.

#include <QRect>
#include <QString>
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& texts, std::ostream* out) {
  *out << '{';
  for (const QString& text : texts) *out << '"' << text.toStdString() << "\" ";
  *out << '}';
}

inline void PrintTo(const QRect& rect, std::ostream* out) {
  *out << rect.x() << ',' << rect.y() << ' ' << rect.width() << 'x' << rect.height();
}

inline void PrintTo(const QPoint& point, std::ostream* out) {
  *out << point.x() << ',' << point.y();
}

inline void PrintTo(const QSize& size, std::ostream* out) {
  *out << size.width() << 'x' << size.height();
}
