#include "users/user_commands.h"

#include "users/account_store.h"
#include "users/user_manger_dlg.h"

namespace qavo {

UserCommands::UserCommands(ConsoleDatabase& db, Prompter& prompter, UserSession& session,
                           CredentialsPrompt& prompt, QWidget* parent)
    : db_(db), prompter_(prompter), parent_(parent), access_(db, prompter, session, prompt) {}

void UserCommands::EditAccount() {
    CUserMangerDlg dialog(
        ReadAccount(db_, prompter_),
        [this](const Account& account) { WriteAccount(db_, prompter_, account); }, parent_);
    dialog.exec();
}

}  // namespace qavo
