// Qt's standard buttons in the language in use. Qt's own translations are not
// installed with every desktop and have no Bengali, Indonesian or Malay, so
// the labels come from Orvano's catalogues like every other text.
#pragma once

class QDialogButtonBox;
class QMessageBox;

namespace orvano {

// Each standard button of the box gets its label from the catalogue; a label
// no catalogue translates (English) stays as Qt made it.
void LabelStandardButtons(QMessageBox& box);
void LabelStandardButtons(QDialogButtonBox& box);

}  // namespace orvano
