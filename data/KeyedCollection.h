#pragma once

#include <QList>
#include <QPair>
#include <QString>

// A collection of items under text keys, compared without regard to case,
// kept in the order they were added (open child windows and kept dialogs,
// keyed by tree-node key).
template <class T>
class KeyedCollection {
public:
    bool contains(const QString &key) const { return indexOf(key) >= 0; }
    // The item under the key; a default value when missing.
    T value(const QString &key) const
    {
        const int i = indexOf(key);
        return i < 0 ? T() : mItems.at(i).second;
    }
    // Adds an item; a key that is already present is replaced.
    void add(const QString &key, const T &item)
    {
        const int i = indexOf(key);
        if (i >= 0)
            mItems[i].second = item;
        else
            mItems.append({key, item});
    }
    bool remove(const QString &key)
    {
        const int i = indexOf(key);
        if (i < 0)
            return false;
        mItems.removeAt(i);
        return true;
    }
    void clear() { mItems.clear(); }
    int count() const { return static_cast<int>(mItems.size()); }
    QList<QString> keys() const
    {
        QList<QString> result;
        for (const auto &item : mItems)
            result.append(item.first);
        return result;
    }
    QList<T> items() const
    {
        QList<T> result;
        for (const auto &item : mItems)
            result.append(item.second);
        return result;
    }

private:
    int indexOf(const QString &key) const
    {
        for (int i = 0; i < mItems.size(); ++i)
            if (mItems.at(i).first.compare(key, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    }
    QList<QPair<QString, T>> mItems;
};

// True when the collection holds an item under the key.
template <class T>
bool fgIsObjInCol(const KeyedCollection<T> &collection, const QString &key)
{
    return collection.contains(key);
}
