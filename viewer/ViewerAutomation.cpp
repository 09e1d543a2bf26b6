#include "viewer/ViewerAutomation.h"

#include "suite/AutomationServer.h"

namespace tolmar::viewer {
namespace {

bool AreTexts(const QVariantList& arguments, int count) {
  if (arguments.size() != count) return false;
  for (const QVariant& argument : arguments) {
    if (argument.metaType().id() != QMetaType::QString) return false;
  }
  return true;
}

bool IsAutomationArgument(const QString& argument) {
  return argument.size() > 1 && (argument.front() == u'-' || argument.front() == u'/') &&
         argument.mid(1).compare(QStringLiteral("Automation"), Qt::CaseInsensitive) == 0;
}

}  // namespace

ViewerAutomation::ViewerAutomation(ViewerAutomationHandler& handler) : m_handler(handler) {}

ViewerAutomation::~ViewerAutomation() = default;

QString ViewerAutomation::JoinObjectTexts(const QVariant& texts) {
  if (texts.metaType().id() == QMetaType::QString) return texts.toString();
  QString joined;
  if (texts.metaType().id() == QMetaType::QStringList) {
    for (const QString& text : texts.toStringList()) joined += text;
    return joined;
  }
  if (texts.metaType().id() == QMetaType::QVariantList) {
    for (const QVariant& text : texts.toList()) {
      if (text.metaType().id() == QMetaType::QString) joined += text.toString();
    }
  }
  return joined;
}

QVariant ViewerAutomation::Answer(int method, const QVariantList& arguments) {
  switch (method) {
    case kShow:
      if (!arguments.isEmpty()) return {};
      m_handler.ShowWindow();
      return 0;
    case kSetPatient:
      if (!AreTexts(arguments, 2)) return {};
      m_handler.SetPatient(arguments[0].toString(), arguments[1].toString());
      return 0;
    case kLoadImagesC:
    case kLoadImagesD: {
      if (arguments.size() != 3 || !AreTexts(arguments.mid(0, 2), 2)) return {};
      QString objectText;
      if (method == kLoadImagesC) {
        if (arguments[2].metaType().id() != QMetaType::QString) return {};
        objectText = arguments[2].toString();
      } else {
        objectText = JoinObjectTexts(arguments[2]);
      }
      // An empty object text would send the Relayhouse a command for nothing.
      if (objectText.trimmed().isEmpty()) return kNothingToLoad;
      m_handler.LoadImages(arguments[0].toString(), arguments[1].toString(), objectText);
      return 0;
    }
    default:
      return {};
  }
}

bool ViewerAutomation::Register(QDBusConnection connection, QString* error) {
  if (m_registered) return true;
  auto server = std::make_unique<suite::AutomationServer>(std::move(connection));
  for (const int method : {kShow, kLoadImagesC, kLoadImagesD, kSetPatient}) {
    server->AddMethod(
        method, [this, method](QVariantList& arguments) { return Answer(method, arguments); });
  }
  if (!server->Register(kIdentifier, error)) return false;
  m_server = std::move(server);
  m_registered = true;
  return true;
}

bool HasAutomationSwitch(const QStringList& arguments) {
  for (const QString& argument : arguments) {
    if (IsAutomationArgument(argument)) return true;
  }
  return false;
}

QStringList WithoutAutomationSwitch(const QStringList& arguments) {
  QStringList kept;
  for (const QString& argument : arguments) {
    if (!IsAutomationArgument(argument)) kept << argument;
  }
  return kept;
}

}  // namespace tolmar::viewer
