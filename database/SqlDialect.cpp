#include "database/SqlDialect.h"

namespace tolmar::db {
namespace {

bool IsIdentifierStart(QChar c) { return c.isLetter() || c == u'_'; }
bool IsIdentifierChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

// Names of the suite's tables, views and columns: F_..., T_..., V_... in upper case.
bool IsSuiteName(const QString& word) {
  if (word.size() < 3 || word[1] != u'_') return false;
  if (word[0] != u'F' && word[0] != u'T' && word[0] != u'V') return false;
  for (QChar c : word) {
    if (!(c.isUpper() || c.isDigit() || c == u'_')) return false;
  }
  return true;
}

// Position after the string literal that starts at `start` (a quote), doubled quotes
// included; the end of the text when it is never closed.
qsizetype SkipLiteral(const QString& sql, qsizetype start) {
  qsizetype i = start + 1;
  while (i < sql.size()) {
    if (sql[i] == u'\'') {
      if (i + 1 < sql.size() && sql[i + 1] == u'\'') {
        i += 2;
        continue;
      }
      return i + 1;
    }
    ++i;
  }
  return sql.size();
}

QChar PreviousNonBlank(const QString& out) {
  for (qsizetype i = out.size() - 1; i >= 0; --i) {
    if (!out[i].isSpace()) return out[i];
  }
  return {};
}

QChar NextNonBlank(const QString& sql, qsizetype from) {
  for (qsizetype i = from; i < sql.size(); ++i) {
    if (!sql[i].isSpace()) return sql[i];
  }
  return {};
}

}  // namespace

SqlDialect SqlDialect::FromDbmsName(const QString& dbmsName) {
  return SqlDialect(dbmsName.contains(QStringLiteral("postgres"), Qt::CaseInsensitive)
                        ? SqlEngine::Postgres
                        : SqlEngine::Sqlite);
}

QString SqlDialect::Translate(const QString& sql) const {
  QString out;
  out.reserve(sql.size() + 16);
  qsizetype i = 0;
  while (i < sql.size()) {
    const QChar c = sql[i];
    if (c == u'\'') {
      const qsizetype end = SkipLiteral(sql, i);
      out += QStringView(sql).mid(i, end - i);
      i = end;
    } else if (c == u'"') {
      // Already quoted: copy up to the closing quote.
      qsizetype end = sql.indexOf(u'"', i + 1);
      end = end < 0 ? sql.size() : end + 1;
      out += QStringView(sql).mid(i, end - i);
      i = end;
    } else if (c == u'[') {
      qsizetype end = sql.indexOf(u']', i + 1);
      if (end < 0) {
        out += c;
        ++i;
        continue;
      }
      out += QuoteIdentifier(sql.mid(i + 1, end - i - 1));
      i = end + 1;
    } else if (IsIdentifierStart(c)) {
      qsizetype end = i + 1;
      while (end < sql.size() && IsIdentifierChar(sql[end])) ++end;
      const QString word = sql.mid(i, end - i);
      if (word.compare(QStringLiteral("LEN"), Qt::CaseInsensitive) == 0 &&
          NextNonBlank(sql, end) == u'(') {
        out += QStringLiteral("LENGTH");
      } else if (IsSuiteName(word)) {
        out += QuoteIdentifier(word);
      } else {
        out += word;
      }
      i = end;
    } else if (c.isDigit()) {
      // Numbers (and things like 1e5) pass whole, so their letters are not words.
      qsizetype end = i + 1;
      while (end < sql.size() && IsIdentifierChar(sql[end])) ++end;
      out += QStringView(sql).mid(i, end - i);
      i = end;
    } else if (c == u'+' && (PreviousNonBlank(out) == u'\'' || NextNonBlank(sql, i + 1) == u'\'')) {
      out += QStringLiteral("||");
      ++i;
    } else {
      out += c;
      ++i;
    }
  }
  return out;
}

QString SqlDialect::QuoteIdentifier(const QString& name) {
  QString quoted = name;
  quoted.replace(u'"', QStringLiteral("\"\""));
  return u'"' + quoted + u'"';
}

QString SqlDialect::Literal(const QString& value) {
  QString quoted = value;
  quoted.replace(u'\'', QStringLiteral("''"));
  return u'\'' + quoted + u'\'';
}

QString SqlDialect::LikePattern(const QString& value) {
  QString escaped;
  escaped.reserve(value.size());
  for (QChar c : value) {
    if (c == u'\\' || c == u'%' || c == u'_') escaped += u'\\';
    escaped += c;
  }
  return escaped;
}

QString SqlDialect::ColumnType(FieldType type, int width) const {
  switch (type) {
    case FieldType::Long: return QStringLiteral("INTEGER");
    case FieldType::Int: return QStringLiteral("SMALLINT");
    case FieldType::Double: return QStringLiteral("DOUBLE PRECISION");
    case FieldType::Memo: return QStringLiteral("TEXT");
    case FieldType::Text: break;
  }
  return QStringLiteral("VARCHAR(%1)").arg(width > 0 ? width : 255);
}

QString SqlDialect::CreateViewPrefix() const {
  return m_engine == SqlEngine::Postgres ? QStringLiteral("CREATE OR REPLACE VIEW ")
                                         : QStringLiteral("CREATE VIEW IF NOT EXISTS ");
}

QString SqlDialect::BeginWriteTransaction() const {
  return m_engine == SqlEngine::Postgres ? QStringLiteral("BEGIN")
                                         : QStringLiteral("BEGIN IMMEDIATE");
}

}  // namespace tolmar::db
