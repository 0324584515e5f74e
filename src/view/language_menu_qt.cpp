#include "view/language_menu_qt.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QMenu>

#include "frontend/language_qt.h"

namespace velmoria {

void fillLanguageMenu(QMenu* menu, std::function<void(const QString&)> notice) {
  QMenu* languages =
      menu->addMenu(QCoreApplication::translate("velmoria::LanguageMenu", "言語(&L)"));
  languages->setObjectName("Language1");
  auto* group = new QActionGroup(languages);
  struct Item {
    LanguageChoice choice;
    const char* name;
    QString caption;
  };
  // Each language by its own name, so that it can be found whichever one is shown.
  const Item items[] = {
      {LanguageChoice::Automatic, "language_auto",
       QCoreApplication::translate("velmoria::LanguageMenu", "自動（システムの言語）(&A)")},
      {LanguageChoice::Japanese, "language_ja", QString::fromUtf8("日本語")},
      {LanguageChoice::English, "language_en", QStringLiteral("English")},
  };
  const LanguageChoice remembered = rememberedLanguageChoice();
  for (const Item& item : items) {
    QAction* action = languages->addAction(item.caption);
    action->setObjectName(item.name);
    action->setCheckable(true);
    action->setChecked(item.choice == remembered);
    group->addAction(action);
    const LanguageChoice choice = item.choice;
    QObject::connect(action, &QAction::triggered, languages, [choice, notice] {
      if (choice == rememberedLanguageChoice()) return;
      rememberLanguageChoice(choice);
      if (languageFor(choice, QLocale::system()) == currentLanguage() || !notice) return;
      notice(QCoreApplication::translate("velmoria::LanguageMenu",
                                         "表示する言語は次回の起動から切り替わります。"));
    });
  }
}

}  // namespace velmoria
