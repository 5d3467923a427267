#include "app/category_framework.h"

#include "ui/message_pump.h"

namespace tarnwell {

void TCategoryFramework::SetCategoryEnabled(const CategoryFrame& category, bool enabled) {
    for (int id : {category.analyzeButton, category.sweepButton, sweepAllButton_})
        if (TControl* control = controls_.Find(id)) control->SetEnabled(enabled);
    menu_.SetEnabled(category.quickSweepItem, enabled);
    menu_.SetEnabled(sweepAllItem_, enabled);
}

void TCategoryFramework::LockCategory(const CategoryFrame& category) { SetCategoryEnabled(category, false); }

void TCategoryFramework::StartRiskItem(int label, std::string_view text) {
    TControl* control = controls_.Find(label);
    if (!control) return;
    control->SetText(text);
    control->Tag = 1;
    ProcessMessages();
}

void TCategoryFramework::FinishRiskItem(int label) {
    if (TControl* control = controls_.Find(label)) control->Tag = 0;
}

void TCategoryFramework::FinishItem(const CategoryFrame& category, int label, std::string_view text) {
    if (TControl* control = controls_.Find(label)) control->SetText(text);
    FinishRiskItem(label);
    CategoryEndCheck(category);
}

bool TCategoryFramework::Busy(int label) const {
    const TControl* control = controls_.Find(label);
    return control && control->Tag != 0;
}

void TCategoryFramework::CategoryEndCheck(const CategoryFrame& category) {
    for (int label : category.labels)
        if (Busy(label)) return;
    SetCategoryEnabled(category, true);
}

}  // namespace tarnwell
