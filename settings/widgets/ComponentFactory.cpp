#include "settings/widgets/ComponentFactory.h"

#include "settings/widgets/ImageStream.h"

#include <QSpacerItem>
#include <QWidget>

namespace ComponentFactory {

using ComponentImageFormat::LayoutItemType;

namespace {

QBoxLayout* makeLayout(const LayoutSpec& plan, const QList<QWidget*>& children, std::vector<bool>& used)
{
    QBoxLayout* layout = nullptr;
    if (plan.direction == QBoxLayout::TopToBottom)
        layout = new QVBoxLayout;
    else if (plan.direction == QBoxLayout::LeftToRight)
        layout = new QHBoxLayout;
    else
        layout = new QBoxLayout(plan.direction);
    std::unique_ptr<QBoxLayout> owned(layout);
    layout->setSpacing(plan.spacing);
    layout->setContentsMargins(plan.margins);
    for (const LayoutItemSpec& item : plan.items) {
        switch (item.type) {
        case LayoutItemType::Widget:
            // Each child once: a widget in two places of a layout is damage.
            if (item.child >= children.size() || used[size_t(item.child)])
                ThrowInvalidImage();
            used[size_t(item.child)] = true;
            layout->addWidget(children[item.child], item.stretch, Qt::Alignment::fromInt(item.alignment));
            break;
        case LayoutItemType::Spacer:
            layout->addSpacerItem(
                new QSpacerItem(item.size.width(), item.size.height(), item.horizontal, item.vertical));
            layout->setStretch(layout->count() - 1, item.stretch);
            break;
        case LayoutItemType::Layout:
            layout->addLayout(makeLayout(*item.nested, children, used), item.stretch);
            break;
        }
    }
    return owned.release();
}

QObject* findNamed(QObject* tree, const QString& name)
{
    if (!tree)
        return nullptr;
    if (tree->objectName() == name)
        return tree;
    return tree->findChild<QObject*>(name);
}

} // namespace

void applyLayout(QWidget* w, const LayoutSpec& plan, const QList<QWidget*>& children)
{
    std::vector<bool> used(size_t(children.size()), false);
    QBoxLayout* layout = makeLayout(plan, children, used);
    w->setLayout(layout);
}

void resolveReferences(const std::vector<Fixup>& fixups, QWidget* root, QWidget* owner)
{
    for (const Fixup& fixup : fixups) {
        if (!fixup.object || fixup.name.isEmpty())
            continue;
        QObject* target = findNamed(root, fixup.name);
        if (!target)
            target = findNamed(owner, fixup.name);
        const QMetaObject* wanted = fixup.property.metaType().metaObject();
        if (!target || !wanted || !target->metaObject()->inherits(wanted))
            continue;
        fixup.property.write(fixup.object, QVariant(fixup.property.metaType(), &target));
    }
}

} // namespace ComponentFactory
