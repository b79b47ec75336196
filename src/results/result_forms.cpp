#include "results/result_forms.h"

namespace results {

ScoreForm::ScoreForm(QWidget* owner)
    : platform::Form(QStringLiteral("Score"), owner), Tou(this, QStringLiteral("Tou"), 4),
      ID(this, QStringLiteral("ID"), 4)
{
    for (auto& list : State)
        list = new platform::ListBox(this, QStringLiteral("State"));
}

HeroForm::HeroForm(QWidget* owner)
    : platform::Form(QStringLiteral("Hero"), owner), Tou(this, QStringLiteral("Tou"), 4),
      ID(this, QStringLiteral("ID"), 4), sumScore(this, QStringLiteral("sumScore"), 4),
      Num(new platform::ListBox(this, QStringLiteral("Num")))
{
    for (auto& list : Grade)
        list = new platform::ListBox(this, QStringLiteral("Grade"));
}

} // namespace results
