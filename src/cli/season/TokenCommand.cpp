#include <cstdio>
#include <iostream>

#include "cli/CommandLine.h"
#include "cli/season/StoreCommand.h"
#include "season/IsoTime.h"
#include "season/UploadToken.h"

namespace zefa::cli {

namespace {

// `season token add DB LABEL`: the token is printed once, and kept only as its hash.
class TokenAddCommand final : public StoreCommand {
public:
    explicit TokenAddCommand(CLI::App& token)
        : StoreCommand(token, "add",
                       "Makes a token for `season serve` and prints it once; the store keeps "
                       "only its hash",
                       OpenMode::CreateIfMissing) {
        app().add_option("LABEL", m_label, "Who sends with it, as the pages name them")->required();
    }

private:
    std::optional<int> prepare() override {
        if (const auto why = season::unfitTokenLabel(m_label)) {
            std::cerr << "zefastats: " << *why << "\n";
            return kExitUsage;
        }
        return std::nullopt;
    }

    int run(season::SeasonStore& store) override {
        const std::string token = season::newUploadToken();
        store.addToken(m_label, season::uploadTokenHash(token));
        std::cout << token << "\n";
        std::cerr << "zefastats: the token of '" << m_label
                  << "' is shown only now: give it to them in a file only they can read\n";
        return kExitOk;
    }

    std::string m_label;
};

// `season token list DB`.
class TokenListCommand final : public StoreCommand {
public:
    explicit TokenListCommand(CLI::App& token)
        : StoreCommand(token, "list", "Lists the tokens: label, created, last used, uploads",
                       OpenMode::ReadOnly) {}

private:
    int run(season::SeasonStore& store) override {
        const auto time = [](const std::optional<std::int64_t>& at) {
            return at ? season::formatUtc(*at) : std::string("-");
        };
        std::printf("%-24s  %-20s  %-20s  %7s  %s\n", "LABEL", "CREATED", "LAST USED", "UPLOADS",
                    "REVOKED");
        for (const season::TokenInfo& t : store.tokens()) {
            std::printf("%-24s  %-20s  %-20s  %7lld  %s\n", t.label.c_str(),
                        season::formatUtc(t.createdAt).c_str(), time(t.lastUsedAt).c_str(),
                        static_cast<long long>(t.uploads), time(t.revokedAt).c_str());
        }
        return kExitOk;
    }
};

// `season token revoke DB LABEL`: effective at the server's next request.
class TokenRevokeCommand final : public StoreCommand {
public:
    explicit TokenRevokeCommand(CLI::App& token)
        : StoreCommand(token, "revoke", "Revokes a token: the server refuses it from now on",
                       OpenMode::Existing) {
        app().add_option("LABEL", m_label, "The token's label")->required();
    }

private:
    int run(season::SeasonStore& store) override {
        store.revokeToken(m_label);
        std::cout << "revoked the token '" << m_label << "'\n";
        return kExitOk;
    }

    std::string m_label;
};

}  // namespace

std::vector<std::unique_ptr<StoreCommand>> makeTokenCommands(CLI::App& season) {
    CLI::App* token =
        season.add_subcommand("token", "Upload tokens of `season serve`: add, list, revoke");
    token->require_subcommand(1);
    std::vector<std::unique_ptr<StoreCommand>> commands;
    commands.push_back(std::make_unique<TokenAddCommand>(*token));
    commands.push_back(std::make_unique<TokenListCommand>(*token));
    commands.push_back(std::make_unique<TokenRevokeCommand>(*token));
    return commands;
}

}  // namespace zefa::cli
