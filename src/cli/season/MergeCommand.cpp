#include <iostream>

#include "cli/CommandLine.h"
#include "cli/season/StoreCommand.h"

namespace zefa::cli {

namespace {

class MergeCommand final : public StoreCommand {
public:
    explicit MergeCommand(CLI::App& season)
        : StoreCommand(season, "merge",
                       "Counts every match of ALIAS, also those stored later, for INTO",
                       OpenMode::Existing) {
        app().add_option("ALIAS", m_alias, "A player's key or name")->required();
        app().add_option("INTO", m_into, "The player's key or name to count for")->required();
    }

private:
    int run(season::SeasonStore& store) override {
        store.merge(m_alias, m_into);
        std::cout << "'" << m_alias << "' now counts for '" << m_into << "'\n";
        return kExitOk;
    }

    std::string m_alias;
    std::string m_into;
};

}  // namespace

std::unique_ptr<StoreCommand> makeMergeCommand(CLI::App& season) {
    return std::make_unique<MergeCommand>(season);
}

}  // namespace zefa::cli
