# Precompiled Qt headers and unity builds, so a first build on a small
# machine spends its time on our code rather than on parsing Qt again for
# every file.
#
# Two header sets are precompiled, one on the core (Qt Core and Gui) and one
# on the front end (with PrintSupport and Widgets); every other target reuses
# one of them. GCC accepts a precompiled header only when each macro it was
# built with is defined the same way in the file that uses it (extra macros
# are fine), so a target reuses the set of a library whose Qt modules are a
# subset of its own; -Winvalid-pch with -Werror makes a mismatch an error
# instead of a silent slow build. QtTest's own headers stay out: they test
# QT_TESTCASE_BUILDDIR, which differs for every test folder.
# -DCMAKE_DISABLE_PRECOMPILE_HEADERS=ON and -DZORVANE_UNITY_BUILD=OFF build
# every file on its own, which shows a file that lacks an include.

option(ZORVANE_UNITY_BUILD "Compile the libraries' sources in batches" ON)

set(zorvane_pch_core
    <algorithm> <array> <cmath> <functional> <memory> <optional> <vector>
    <QAbstractItemModel> <QBitArray> <QByteArray> <QCborArray> <QCborMap>
    <QCoreApplication> <QDateTime> <QDir> <QFile> <QFileInfo> <QHash> <QList>
    <QMetaEnum> <QObject> <QSettings> <QSharedPointer> <QString> <QStringList>
    <QTemporaryDir> <QThread> <QUrl> <QUuid> <QVariant>
    <QColor> <QFont> <QGuiApplication> <QIcon> <QImage> <QPainter> <QPixmap>
    <QRegion> <QTransform> <QVector4D> <QWindow>)
set(zorvane_pch_widgets ${zorvane_pch_core}
    <QPrinter> <QPrinterInfo>
    <QApplication> <QCheckBox> <QComboBox> <QDialog> <QLabel> <QLineEdit>
    <QMenu> <QPushButton> <QSizePolicy> <QWidget>)

# zorvane_precompile_headers(<target> core|widgets)
# Reuses the core's or the front end's precompiled headers. The target must
# link at least the Qt modules of the library it reuses from.
function(zorvane_precompile_headers target set)
    if(set STREQUAL "core")
        target_precompile_headers(${target} REUSE_FROM zorvane_core)
    elseif(set STREQUAL "widgets")
        target_precompile_headers(${target} REUSE_FROM zorvane_ui)
    else()
        message(FATAL_ERROR "zorvane_precompile_headers: no header set '${set}'")
    endif()
    # A program's moc output is usually empty (its test class includes its
    # own .moc); loading the headers would cost more than the file.
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
        get_target_property(binary_dir ${target} BINARY_DIR)
        set_source_files_properties(${binary_dir}/${target}_autogen/mocs_compilation.cpp
                                    TARGET_DIRECTORY ${target}
                                    PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
    endif()
endfunction()

# zorvane_unity_build(<target> [EXCEPT <sources...>])
# Batches a library's sources into a few translation units. A file whose
# file-local names (anonymous namespace, static, namespace alias) repeat a
# name of another file of the same library is compiled on its own: in one
# unit the two would clash, or worse, become overloads of each other.
function(zorvane_unity_build target)
    cmake_parse_arguments(ARG "" "" "EXCEPT" ${ARGN})
    if(NOT ZORVANE_UNITY_BUILD)
        return()
    endif()
    set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
    if(ARG_EXCEPT)
        set_source_files_properties(${ARG_EXCEPT} TARGET_DIRECTORY ${target}
                                    PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
    endif()
endfunction()
