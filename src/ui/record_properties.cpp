#include "ui/record_properties.h"

namespace vantorel {

void CRecordProperties::Retranslate() {
  m_texts.Retranslate();
  FillChoices();
  Show(m_record);
}

}  // namespace vantorel
