#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>

// Points XDG_CONFIG_HOME at a fresh folder for each test, so profile tests
// never read or write the user's real settings.
class ProfileFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_home.isValid());
    m_hadConfig = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    m_oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.path()));
  }
  void TearDown() override {
    if (m_hadConfig)
      qputenv("XDG_CONFIG_HOME", m_oldConfig);
    else
      qunsetenv("XDG_CONFIG_HOME");
  }
  QString Home() const { return m_home.path(); }

 private:
  QTemporaryDir m_home;
  bool m_hadConfig = false;
  QByteArray m_oldConfig;
};
