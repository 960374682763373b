#pragma once

#include <QDialog>

#include "app/GenerationSettings.h"

namespace zefa {

// Placeholder until the wizard lands.
class CNewStatsWizard : public QDialog {
public:
    CNewStatsWizard(GenerationSettings& settings, QWidget* parent = nullptr) : QDialog(parent) {
        (void)settings;
    }
};

}  // namespace zefa
