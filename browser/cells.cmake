target_sources(quillary_core PRIVATE
    editkeywordsdelegate.h editkeywordsdelegate.cpp
    editlabeldelegate.h editlabeldelegate.cpp
    editstrdelegate.h editstrdelegate.cpp
    keylayouttable.h keylayouttable.cpp
    noeditdelegate.h noeditdelegate.cpp
    phrasemodel.h phrasemodel.cpp
    phrasepayload.h phrasepayload.cpp
    scanlineedit.h scanlineedit.cpp
    searchcondition.h searchcondition.cpp
    spinboxdelegate.h spinboxdelegate.cpp
    sqltable.h sqltable.cpp
)
