#pragma once

class QAbstractItemModel;

// Built with ROLKWIT_MODEL_TESTER, Qt's model tester watches `model` for as long as it lives and
// stops the program at the first answer or signal that breaks the rules views rely on; without
// it, nothing.
void watchModel(QAbstractItemModel* model);
