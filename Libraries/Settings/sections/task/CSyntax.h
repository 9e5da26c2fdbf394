// Presentation syntax lists: CTransferSyntax, one transfer syntax of an entry, and
// the ten CSyntax classes, one entry of a task's syntax list (an abstract syntax
// and 1, 3 or 4 transfer syntaxes), each in the namespace of its task's key root.
//
// Thread safety: an object must not be used by two threads at once.
#ifndef DICOMSETTINGS_CSYNTAX_H
#define DICOMSETTINGS_CSYNTAX_H

#include "SectionFramework.h"

namespace DicomAccessLibraryCpp {

template <int Capacity>
class SyntaxEntry;

// One transfer syntax of a syntax entry: node ".../TransferSyntax[j]".
class DICOMSETTINGS_API CTransferSyntax : public ListElement<CTransferSyntax> {
 public:
  StringProxy SyntaxValue;

  static const ElementSchema& Schema();

 private:
  template <int>
  friend class SyntaxEntry;
};

// The shape shared by the ten CSyntax classes; Capacity is the number of
// transfer syntaxes an entry holds and the clamp of GetCountTransferSyntax.
template <int Capacity>
class SyntaxEntry : public ListElement<SyntaxEntry<Capacity>> {
 public:
  StringProxy AbstractSyntax;
  CTransferSyntax TransferSyntax[Capacity];

  int GetCountTransferSyntax() { return this->CountList(0); }

  static const ElementSchema& Schema() {
    static constexpr ValueField kValues[] = {
        Value<&SyntaxEntry::AbstractSyntax>(L"/AbstractSyntax"),
    };
    static constexpr ListField kLists[] = {
        List<&SyntaxEntry::TransferSyntax>(L"/TransferSyntax"),
    };
    static const ElementSchema schema = MakeElementSchema("CSyntax", kValues, kLists);
    return schema;
  }
};

}  // namespace DicomAccessLibraryCpp

// Declares Namespace::CSyntax of the given shape, friend of its owning section.
#define DICOMSETTINGS_SYNTAX_CLASS(Namespace, Capacity, OwnerSection) \
  namespace DicomAccessLibraryCpp {                                   \
  class OwnerSection;                                                 \
  namespace Namespace {                                               \
  class DICOMSETTINGS_API CSyntax : public SyntaxEntry<Capacity> {    \
    friend class ::DicomAccessLibraryCpp::OwnerSection;               \
  };                                                                  \
  }                                                                   \
  }

DICOMSETTINGS_SYNTAX_CLASS(EchoScu, 1, CEchoScuSetting)
DICOMSETTINGS_SYNTAX_CLASS(DetachScuGet, 1, CDetachScuRecvSetting)
DICOMSETTINGS_SYNTAX_CLASS(DetachScuPut, 1, CDetachScuSendSetting)
DICOMSETTINGS_SYNTAX_CLASS(Printnevent, 1, CPrintNeventSetting)
DICOMSETTINGS_SYNTAX_CLASS(ScScuGet, 1, CScScuRecvSetting)
DICOMSETTINGS_SYNTAX_CLASS(ScScuPut, 1, CScScuSendSetting)
DICOMSETTINGS_SYNTAX_CLASS(MppsScu, 3, CMppsScuSetting)
DICOMSETTINGS_SYNTAX_CLASS(Mwmscu, 3, CMwmScuSetting)
DICOMSETTINGS_SYNTAX_CLASS(PrintScu, 3, CPrintScuSetting)
DICOMSETTINGS_SYNTAX_CLASS(StorageScu, 4, CStorageScuSetting)

#endif
