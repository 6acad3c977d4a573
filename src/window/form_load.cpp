// Start-up: the data files, the code manager, the first item and the first list entry.
#include "catalog/catalog_loader.h"
#include "catalog/startup_message.h"
#include "catalog/vault_error.h"
#include "window/form_tolvane.h"
#include "window/text_bytes.h"

namespace vs {

bool formTolvane::Form_Load(const std::filesystem::path& dataDir)
{
    try {
        updateVersion = "f";
        allowUpdate = true;
        // The class names, category groups, option labels and arrCheckExc are
        // fixed tables, filled when the window is built.
        catalog_ = std::make_unique<Catalog>(loadDataFolder(dataDir));
        catalogEncoding_ = namesEncoding(*catalog_, chosenEncoding_);
        setWindowTitle(fromBytes(kAppTitle) + "[*]");
        theItem = clsCodeManCreate(*catalog_, *this);
        theItem->flgFromShop = true;
        theItem->update(0, 0, 0, 0, 0, 0, 0);
        theItem->flgFromShop = false;
        cmdShopNew_Click();
        undoStack_->clear();  // the list as start-up leaves it is the saved state
        windowWidth = static_cast<int16_t>(width());
        windowHeight = static_cast<int16_t>(height());
        return true;
    } catch (const VaultError& error) {
        fail(error);
    } catch (const std::exception& error) {
        fail(VaultError(ErrorKind::Internal, error.what()));
    }
    return false;
}

void formTolvane::fail(const VaultError& error)
{
    dialogs_.message(this, fromBytes(kAppTitle), fromBytes(startupFailureText(error)));
}

}  // namespace vs
