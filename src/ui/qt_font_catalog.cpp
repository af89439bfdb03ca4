#include "ui/qt_font_catalog.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QList>
#include <QString>
#include <QStringList>

namespace chimewell {
namespace {

FontFamilyInfo Describe(const QString& family) {
  FontFamilyInfo info;
  info.name = family.toStdString();
  info.type = QFontDatabase::isSmoothlyScalable(family) ? kOutlineFontType : kRasterFontType;
  info.japanese = QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese);
  return info;
}

}  // namespace

std::vector<FontFamilyInfo> QtFontCatalog::Families() const {
  std::vector<FontFamilyInfo> out;
  for (const QString& family : QFontDatabase::families()) out.push_back(Describe(family));
  return out;
}

std::optional<FontFamilyInfo> QtFontCatalog::Find(std::string_view name) const {
  if (name.empty()) return std::nullopt;
  const QString wanted = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
  // Family names match without regard to case, as font systems do; the catalogue's own
  // spelling is what is reported back.
  for (const QString& family : QFontDatabase::families()) {
    if (family.compare(wanted, Qt::CaseInsensitive) == 0) return Describe(family);
  }
  // A localised name (IPAゴシック for IPAGothic) is known to the database without being listed.
  if (QFontDatabase::hasFamily(wanted)) return Describe(QFontInfo(QFont(wanted)).family());
  return std::nullopt;
}

}  // namespace chimewell
