#include <iostream>

#include "cli/CommandLine.h"
#include "cli/season/StoreCommand.h"

namespace zefa::cli {

namespace {

class UnmergeCommand final : public StoreCommand {
public:
    explicit UnmergeCommand(CLI::App& season)
        : StoreCommand(season, "unmerge", "Undoes the merge of ALIAS", OpenMode::Existing) {
        app().add_option("ALIAS", m_alias, "A merged player's key or name")->required();
    }

private:
    int run(season::SeasonStore& store) override {
        store.unmerge(m_alias);
        std::cout << "'" << m_alias << "' is a player of its own again\n";
        return kExitOk;
    }

    std::string m_alias;
};

}  // namespace

std::unique_ptr<StoreCommand> makeUnmergeCommand(CLI::App& season) {
    return std::make_unique<UnmergeCommand>(season);
}

}  // namespace zefa::cli
