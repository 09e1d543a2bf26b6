#pragma once

#include <functional>

class QMenu;

namespace tolmar::suite {
class ProfileStore;
class RegTabLibrary;
class StringTable;
}  // namespace tolmar::suite

namespace tolmar::db {
class DbConnection;
}

namespace tolmar::viewer {

class MainFrame;

// What the document commands need from the application.
struct DocumentMenuServices {
  const suite::StringTable* strings = nullptr;
  suite::ProfileStore* profile = nullptr;
  // Loaded once at start; null or without its entry: 32986 does nothing.
  const suite::RegTabLibrary* regTab = nullptr;
  // The application's database connection, or null when it has none.
  std::function<db::DbConnection*()> database;
};

// Adds 32984 "选择新病人(&N)", 32986 "会诊单(&S)", 32988 "初步诊断", 32939
// "背景颜色设置(E)..." and 32966 "初始化默认值(&F)" to the menu, before its
// exit command when it has one.
void AddDocumentCommands(QMenu& menu, MainFrame& frame, const DocumentMenuServices& services);

}  // namespace tolmar::viewer
