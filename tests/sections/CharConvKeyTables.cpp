// Expected keys of the specific character set conversion section, spelled as the
// settings files spell them ("Conponent").
#include "ExpectedKeys.h"

namespace expected {

using namespace DicomAccessLibraryCpp;

// The send and receive person-name component entries have the same three values.
#define CONPONENT_TABLE(Class)                                           \
  EXPECTED_TABLE(Class,                                                  \
                 {Field<&S::CopyFrom>(L"/CopyFrom", kInt),               \
                  Field<&S::ConvertCharType>(L"/ConvertCharType", kInt), \
                  Field<&S::OverWriteFlag>(L"/OverWriteFlag", kBool)},   \
                 {})
CONPONENT_TABLE(SendPNConponent::CSendPNConponent)
CONPONENT_TABLE(ReceivePNConponent::CReceivePNConponent)
#undef CONPONENT_TABLE

EXPECTED_TABLE(SettingGroup::CSettingGroup,
               {Field<&S::GroupRefName>(L"/GroupRefName", kStr),
                Field<&S::GroupName>(L"/GroupName", kStr),
                Field<&S::SpecificCharacterSet>(L"/SpecificCharacterSet", kStr),
                Field<&S::HalfToWideKana>(L"/HalfToWideKana", kBool),
                Field<&S::SendConvertTarget>(L"/SendConvertTarget", kInt),
                Field<&S::ReceiveConvertTarget>(L"/ReceiveConvertTarget", kInt)},
               {Nodes<&S::SendPNConponent>(L"/SendPNConponent", 3),
                Nodes<&S::ReceivePNConponent>(L"/ReceivePNConponent", 3)})

EXPECTED_TABLE(CSpecificCharConv, {},
               {Nodes<&S::SettingGroup>(L"/SpecificCharConv/SettingGroup", 50)})

}  // namespace expected
