#include <iostream>

#include "cli/CommandLine.h"
#include "cli/season/StoreCommand.h"

namespace zefa::cli {

namespace {

class RenameCommand final : public StoreCommand {
public:
    explicit RenameCommand(CLI::App& season)
        : StoreCommand(season, "rename", "Shows a player by the name you choose",
                       OpenMode::Existing) {
        app().add_option("KEY", m_player, "A player's key or name")->required();
        app()
            .add_option("NAME", m_name,
                        "The name to show, colour codes allowed; \"\" goes back to the name of "
                        "the player's latest match")
            ->required();
    }

private:
    int run(season::SeasonStore& store) override {
        const std::string key = store.rename(m_player, m_name);
        if (m_name.empty()) {
            std::cout << "'" << key << "' is shown by the name of its latest match again\n";
        } else {
            std::cout << "'" << key << "' is now shown as '" << m_name << "'\n";
        }
        return kExitOk;
    }

    std::string m_player;
    std::string m_name;
};

}  // namespace

std::unique_ptr<StoreCommand> makeRenameCommand(CLI::App& season) {
    return std::make_unique<RenameCommand>(season);
}

}  // namespace zefa::cli
